#include "sites/frmLoc.h"

#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>

#include <cstring>
#include <string>
#include <vector>

#include "sites/frmReg.h"
#include "ui/fonts.h"
#include "ui/msgBox.h"
#include "ui/sjis.h"

namespace {

const QString kNotANumber = QStringLiteral("入力した数字が不正です。");
const QString kOutOfRange = QStringLiteral("入力した数字の範囲が不正です。");
const QString kCannotRead = QStringLiteral("ファイルが読めません");
const QString kOverwriteFailed = QStringLiteral("観測地ファイルにアクセスできません。");
const QString kAppendFailed = QStringLiteral("観測地ファイルにアクセスできません");

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(QLatin1String(name));
    b->setGeometry(geometry);
    // Enter presses no button: none is the default, not even the focused one.
    b->setAutoDefault(false);
    b->setDefault(false);
    return b;
}

QLineEdit* makeEdit(QWidget* parent, const char* name, const QRect& geometry)
{
    auto* e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(name));
    e->setGeometry(geometry);
    return e;
}

QLabel* makeLabel(QWidget* parent, const char* name, const QString& text, const QRect& geometry)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    l->setGeometry(geometry);
    return l;
}

// The Shift-JIS bytes of siteName up to its terminator.
std::string siteNameBytes(const TcMainState& cMain)
{
    return std::string(cMain.siteName, strnlen(cMain.siteName, sizeof cMain.siteName));
}

}  // namespace

TcLocate::TcLocate(TcMainState& state, QWidget* owner)
    : QDialog(owner, Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      cMain(state)
{
    setObjectName(QStringLiteral("cLocate"));
    setWindowTitle(QStringLiteral("観測地の入力"));
    setFont(ui::dialogFont());
    setFixedSize(279, 173);

    // Created in tab order.
    cmbName = new QComboBox(this);
    cmbName->setObjectName(QStringLiteral("cmbName"));
    cmbName->setGeometry(8, 10, 117, 22);
    cmbName->setEditable(true);
    cmbName->setMaxVisibleItems(7);
    // The list must stay record i = item i: Enter in the box adds no item and
    // does not pick an item by its text; typing is not completed from the list.
    cmbName->setInsertPolicy(QComboBox::NoInsert);
    cmbName->setDuplicatesEnabled(true);
    cmbName->setCompleter(nullptr);

    editLati = makeEdit(this, "editLati", QRect(172, 10, 96, 22));
    editLongi = makeEdit(this, "editLongi", QRect(172, 42, 96, 22));
    editTz = makeEdit(this, "editTz", QRect(172, 74, 96, 22));
    chkSummer = new QCheckBox(QStringLiteral("夏時間"), this);
    chkSummer->setObjectName(QStringLiteral("chkSummer"));
    chkSummer->setGeometry(12, 44, 100, 20);
    cmdOK = makeButton(this, "cmdOK", QStringLiteral("了　解"), QRect(12, 134, 79, 27));
    cmdCancel = makeButton(this, "cmdCancel", QStringLiteral("ｷｬﾝｾﾙ"), QRect(100, 134, 79, 27));
    cmdWrite = makeButton(this, "cmdWrite", QStringLiteral("登　録"), QRect(188, 134, 79, 27));

    lblLati = makeLabel(this, "lblLati", QStringLiteral("緯度"), QRect(138, 13, 32, 16));
    cmbLongi = makeLabel(this, "cmbLongi", QStringLiteral("経度"), QRect(138, 45, 32, 16));
    cmbTz = makeLabel(this, "cmbTz", QStringLiteral("時差"), QRect(138, 77, 32, 16));

    setTabOrder(cmbName, editLati);
    setTabOrder(editLati, editLongi);
    setTabOrder(editLongi, editTz);
    setTabOrder(editTz, chkSummer);
    setTabOrder(chkSummer, cmdOK);
    setTabOrder(cmdOK, cmdCancel);
    setTabOrder(cmdCancel, cmdWrite);

    connect(cmbName, qOverload<int>(&QComboBox::activated), this, &TcLocate::funcSelect);
    connect(cmbName->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) { nameShown = text; });
    connect(cmdOK, &QPushButton::clicked, this, &TcLocate::funcOK);
    connect(cmdCancel, &QPushButton::clicked, this, &TcLocate::funcCancel);
    connect(cmdWrite, &QPushButton::clicked, this, &TcLocate::funcRec);
}

int TcLocate::loadSite(TcMainState& cMain)
{
    // A file without a complete record still counts as present: the
    // default site is in place and the dialog can append to the file.
    if (sitefile::loadSite(cMain) != sitefile::kNoFile)
        return 0;
    ui::showMessage(nullptr, QStringLiteral("観測地ファイルがありません。"));
    return 2;
}

bool TcLocate::readSite(int n, sitefile::SiteRecord& out)
{
    if (sitefile::readSite(n, out) == sitefile::Status::Ok)
        return true;
    ui::showMessage(this, kCannotRead);
    return false;
}

void TcLocate::setName(const QString& name)
{
    cmbName->setEditText(name);
    nameShown = name;
}

void TcLocate::setNumbers(double latitude, double longitude, double timeZone, int summerTime)
{
    editLati->setText(QString::fromStdString(sitefile::formatCoordinate(latitude)));
    editLongi->setText(QString::fromStdString(sitefile::formatCoordinate(longitude)));
    editTz->setText(QString::fromStdString(sitefile::formatTimeZone(timeZone)));
    chkSummer->setChecked(summerTime != 0);
}

void TcLocate::funcShow()
{
    cmbName->clear();
    cmbName->clearEditText();
    std::vector<std::string> names;
    if (sitefile::listNames(names)) {
        for (const std::string& name : names)
            cmbName->addItem(ui::fromSjis(name));
        siteCount = static_cast<int>(names.size());
    }
    cmbName->setCurrentIndex(-1);
    setName(ui::fromSjis(siteNameBytes(cMain)));
    setNumbers(cMain.siteLatitude, cMain.siteLongitude, cMain.siteTimeZone, cMain.siteSummerTime);
}

void TcLocate::funcSelect(int index)
{
    // The record chosen is the one a later overwrite replaces, even when the
    // dialog is then cancelled or the record cannot be read.
    cMain.currentSiteIndex = index;
    sitefile::SiteRecord r;
    if (!readSite(index, r)) {
        // The list already put the item's text in the box; the fields keep
        // what they showed.
        cmbName->setEditText(nameShown);
        return;
    }
    setName(ui::fromSjis(r.name));
    setNumbers(r.latitude, r.longitude, r.timeZone, r.summerTime);
}

bool TcLocate::checkFields(sitefile::SiteNumbers& out)
{
    switch (sitefile::checkSiteFields(editLati->text().toStdString(), editLongi->text().toStdString(),
                                      editTz->text().toStdString(), out)) {
    case sitefile::FieldCheck::Ok:
        return true;
    case sitefile::FieldCheck::NotANumber:
        ui::showMessage(this, kNotANumber);
        return false;
    case sitefile::FieldCheck::OutOfRange:
        ui::showMessage(this, kOutOfRange);
        return false;
    }
    return false;
}

void TcLocate::funcOK()
{
    sitefile::SiteNumbers v;
    if (!checkFields(v))
        return;
    setSiteName(cMain, ui::toSjis(cmbName->currentText()));
    cMain.siteLatitude = v.latitude;
    cMain.siteLongitude = v.longitude;
    cMain.siteTimeZone = v.timeZone;
    cMain.siteSummerTime = chkSummer->isChecked() ? 1 : 0;
    accept();
}

void TcLocate::funcCancel()
{
    reject();
}

void TcLocate::funcRec()
{
    sitefile::SiteNumbers v;
    if (!checkFields(v))
        return;
    const int flag = chkSummer->isChecked() ? 1 : 0;
    if (!cReg)
        return;
    ui::placeBelow(cReg, this);
    cReg->exec();
    const int result = cReg->regResult;
    if (result < 0 || result > 3)
        return;  // 5: cancel

    const std::string record =
        sitefile::makeRecord(ui::toSjis(cmbName->currentText()), v.latitude, v.longitude, v.timeZone, flag);
    if (result == 2 || result == 3) {
        if (sitefile::overwriteRecord(record, cMain.currentSiteIndex) != sitefile::Status::Ok) {
            ui::showMessage(this, kOverwriteFailed);
            return;
        }
    } else {
        int number = 0;
        if (sitefile::appendRecord(record, number) != sitefile::Status::Ok) {
            ui::showMessage(this, kAppendFailed);
            return;
        }
        // The record's real number; equal to siteCount unless the file
        // changed since it was listed.
        cMain.currentSiteIndex = number;
        siteCount = number + 1;
    }
    if (result == 1 || result == 3)
        cMain.defaultSiteIndex = cMain.currentSiteIndex;
}

void TcLocate::showEvent(QShowEvent* event)
{
    // Every showing by the program fills the dialog anew.
    if (!event->spontaneous()) {
        funcShow();
        cmbName->setFocus();
    }
    QDialog::showEvent(event);
}

void TcLocate::keyPressEvent(QKeyEvent* event)
{
    // Escape and Enter press none of the buttons.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
