#include "sites/frmLoc.h"

#include "sites/siteFile.h"
#include "ui/msgBox.h"

// Placeholder; the dialog is being written.
TcLocate::TcLocate(TcMainState& state, QWidget* owner) : QDialog(owner), cMain(state)
{
    setWindowTitle(QStringLiteral("観測地の入力"));
}

int TcLocate::loadSite(TcMainState& cMain)
{
    const int rc = sitefile::loadSite(cMain);
    if (rc != 0)
        ui::showMessage(nullptr, QStringLiteral("観測地ファイルがありません。"));
    return rc;
}
