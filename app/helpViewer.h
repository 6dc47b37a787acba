// Help: the window that shows the compiled HTML help file "lunvelde.chm".
// The file is read by chm/helpFile, which has the reader executable
// (lunvelde-help-reader, built on chmlib) read its objects; they are parsed
// by chm/helpParse.
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

    // Looks for the reader executable. Returns true when help can work (the
    // reader is there and may be executed); otherwise the caller shows the
    // NOTICE message.
    bool funcCreate();

    // Opens (or raises) the help window and reads the file afresh, off the
    // window's thread: the window answers meanwhile, shows a wait cursor and
    // may be closed, which gives the reading up. Then it shows the file's
    // default topic. The window has no owner. A file that is missing or
    // cannot be read is reported inside the window. Does nothing unless
    // funcCreate returned true and release has not been called since.
    void show(const QString& chmPath = QStringLiteral("lunvelde.chm"));

    // Closes the help window (giving up a reading still running) and forgets
    // the reader.
    void release();

    bool available() const { return helpAvailable != 0; }

    // Test seam: the reader executable to use; empty for the usual one
    // (helpfile::readerPath).
    static void setReaderPath(const QString& path);

    // The help window once show() has created it, else null.
    QWidget* window() const;

    // True while the help window is reading a file.
    bool loading() const;

    // Reading a help file directly, through the reader (funcCreate
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
