#include "sites/frmReg.h"

// Placeholder; the dialog is being written.
TcReg::TcReg(QWidget* owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("観測地データの登録"));
}
