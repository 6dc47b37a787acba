#include "app/frmMain.h"

// Placeholder; the main window is being written.
TcMain::TcMain(TcMainState& s, const TcCalc& calc) : state(s), cCalc(calc)
{
    setWindowTitle(QStringLiteral("Lunvelde"));
    show();
}

void TcMain::setDialogs(TcDate* date, TcLocate* locate, TcTable* table)
{
    cDate = date;
    cLocate = locate;
    cTable = table;
}
