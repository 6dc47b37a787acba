// Help: the compiled HTML help file "lunvelde.chm", read through chmlib
// ("libchm.so.1"), which is loaded by name at run time.
#pragma once

#include <QString>

class QWidget;

class TcHelp {
public:
    TcHelp();
    ~TcHelp();
    TcHelp(const TcHelp&) = delete;
    TcHelp& operator=(const TcHelp&) = delete;

    // Loads the reader library and looks up "chm_open". Returns true when
    // help can work; otherwise the caller shows the NOTICE message.
    bool funcCreate();

    // Opens (or raises) the help window at the file's default topic. The
    // window has no owner. Only call when funcCreate returned true.
    void show(const QString& chmPath = QStringLiteral("lunvelde.chm"));

    // Releases the library if it is still held.
    void release();

    bool available() const { return helpAvailable != 0; }

    // Test seam: the library name to load (default "libchm.so.1").
    static void setLibraryName(const QString& name);

private:
    int helpAvailable = 0;
    struct Impl;
    Impl* d = nullptr;
};
