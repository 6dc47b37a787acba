#include "ui/helpViewer.h"

// Placeholder; help is being written.
namespace { QString g_libName = QStringLiteral("libchm.so.1"); }
struct TcHelp::Impl {};
TcHelp::TcHelp() = default;
TcHelp::~TcHelp() { release(); }
bool TcHelp::funcCreate() { helpAvailable = 0; return false; }
void TcHelp::show(const QString&) {}
void TcHelp::release() {}
void TcHelp::setLibraryName(const QString& name) { g_libName = name; }
