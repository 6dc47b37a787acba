#include "table/frmTable.h"

// Placeholder; the window is being written.
TcTable::TcTable(const TcMainState& state, const TcCalc& calc, QWidget* owner)
    : QDialog(owner), cMain(state), cCalc(calc)
{
    setWindowTitle(QStringLiteral("月間出没時刻"));
}
