// Program entry: creates the six long-lived objects in their order and runs
// the event loop until the main window closes.
#include <QApplication>

#include "app/frmMain.h"
#include "date/frmDate.h"
#include "engine/prcCalc.h"
#include "sites/frmLoc.h"
#include "sites/frmReg.h"
#include "table/frmTable.h"
#include "ui/fonts.h"

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Lunvelde"));
    ui::installFontSubstitutes();
    QApplication::setFont(ui::dialogFont());

    TcMainState state;
    TcCalc cCalc(state);
    TcMain cMain(state, cCalc);
    TcDate cDate(state, &cMain);
    TcLocate cLocate(state, &cMain);
    TcTable cTable(state, cCalc, &cMain);
    TcReg cReg(&cLocate);
    cMain.setDialogs(&cDate, &cLocate, &cTable);
    cLocate.setReg(&cReg);
    app.exec();
    return 0;
}
