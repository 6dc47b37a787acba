#include "date/frmDate.h"

// Placeholder; the dialog is being written.
TcDate::TcDate(TcMainState& state, QWidget* owner) : QDialog(owner), cMain(state)
{
    setWindowTitle(QStringLiteral("年月日の入力"));
}
