// Help: the window that shows the compiled HTML help file "lunvelde.chm".
// The file is read by chm/helpFile through chmlib ("libchm.so.1"), which is
// loaded by name at run time; its objects are parsed by chm/helpParse.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class QWidget;

class TcHelp {
public:
    TcHelp();
    ~TcHelp();
    TcHelp(const TcHelp&) = delete;
    TcHelp& operator=(const TcHelp&) = delete;

    // Loads the reader library and looks up "chm_open" (and the other
    // functions the viewer calls). Returns true when help can work; otherwise
    // no library is held and the caller shows the NOTICE message.
    bool funcCreate();

    // Opens (or raises) the help window at the file's default topic. The
    // window has no owner. A file that is missing or cannot be read is
    // reported inside the window. Does nothing unless funcCreate returned true
    // and release has not been called since.
    void show(const QString& chmPath = QStringLiteral("lunvelde.chm"));

    // Closes the help window and releases the library if it is still held.
    void release();

    bool available() const { return helpAvailable != 0; }

    // Test seam: the library name to load (default "libchm.so.1").
    static void setLibraryName(const QString& name);

    // The help window once show() has created it, else null.
    QWidget* window() const;

    // Reading a help file directly, through the loaded library (funcCreate
    // must have returned true). objectNames lists every object of the file
    // ("/index.html", "/#SYSTEM", ...); it is empty when the file cannot be
    // read. readObject reads one object; false when the file or the object
    // cannot be read.
    QStringList objectNames(const QString& chmPath) const;
    bool readObject(const QString& chmPath, const QString& objectPath, QByteArray* data) const;

    // The default topic that a help file names in its "#SYSTEM" object (code
    // 2), as an object path such as "/index.html"; empty when it names none.
    static QString defaultTopicOf(const QByteArray& systemObject);

private:
    int helpAvailable = 0;
    struct Impl;
    Impl* d = nullptr;
};
