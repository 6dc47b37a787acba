#include "sites/frmLoc.h"

#include <QAbstractListModel>
#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>

#include <cstring>
#include <string>
#include <vector>

#include "sites/frmReg.h"
#include "ui/controls.h"
#include "ui/msgBox.h"
#include "ui/sjis.h"

namespace {

const QString kNotANumber = QStringLiteral("入力した数字が不正です。");
const QString kOutOfRange = QStringLiteral("入力した数字の範囲が不正です。");
const QString kCannotRead = QStringLiteral("ファイルが読めません");
const QString kOverwriteFailed = QStringLiteral("観測地ファイルにアクセスできません。");
const QString kAppendFailed = QStringLiteral("観測地ファイルにアクセスできません");
const QString kBusy = QStringLiteral("観測地ファイルは他のプログラムが使用中です。登録しませんでした。");
const QString kReplaced =
    QStringLiteral("観測地ファイルが一覧を表示した後で置き換えられています。登録しませんでした。");
const QString kNotAligned =
    QStringLiteral("観測地ファイルの行が 50 バイトずつにそろっていません。登録しませんでした。");
const QString kListTooLong = QStringLiteral("観測地ファイルが大きすぎます。最初の %1 行だけを表示します。");
const QString kNoMemory = QStringLiteral("観測地ファイルが大きすぎて、一覧を作れません。");

// The names of the site file's lines, item i for line i. They are kept as
// the file's bytes and converted only when the list shows them, so a file
// of millions of lines opens the dialog at once.
class SiteNameModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    void reset(sitefile::NameList&& list)
    {
        beginResetModel();
        names = std::move(list);
        endResetModel();
    }
    int rowCount(const QModelIndex& parent = QModelIndex()) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(names.size());
    }
    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount() || (role != Qt::DisplayRole && role != Qt::EditRole))
            return {};
        return ui::fromSjis(withoutTrailingBlanks(names.at(static_cast<std::size_t>(index.row()))));
    }

private:
    sitefile::NameList names;
};

}  // namespace

TcLocate::TcLocate(TcMainState& state, QWidget* owner)
    : TcModalDialog(owner, Frame::Tool, QStringLiteral("観測地の入力"), QSize(279, 173)), cMain(state)
{
    setObjectName(QStringLiteral("cLocate"));

    cmbName = ui::placed(new QComboBox(this), "cmbName", QRect(8, 10, 117, 22));
    cmbName->setEditable(true);
    cmbName->setMaxVisibleItems(7);
    // The list must stay record i = item i: Enter in the box adds no item and
    // does not pick an item by its text; typing is not completed from the list.
    cmbName->setInsertPolicy(QComboBox::NoInsert);
    cmbName->setDuplicatesEnabled(true);
    cmbName->setCompleter(nullptr);
    cmbName->setModel(new SiteNameModel(cmbName));
    // The box keeps its place and size: its width never waits for every name.
    cmbName->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    if (auto* list = qobject_cast<QListView*>(cmbName->view()))
        list->setUniformItemSizes(true);
    // When editing ends (Enter, or the focus leaving the box) the combo box
    // would choose the first item whose text equals the box's text and report
    // it as chosen. The box often shows a listed name (the start-up site as
    // stored), and names may repeat: only a choice from the list chooses.
    QObject::disconnect(cmbName->lineEdit(), &QLineEdit::editingFinished, cmbName, nullptr);
    // The wheel over the box would choose the next record even while the
    // user works in another field, replacing what was typed there and the
    // record an overwrite replaces. It steps the list only once the box has
    // the focus, and does not take the focus by itself.
    cmbName->setFocusPolicy(Qt::StrongFocus);
    cmbName->installEventFilter(this);

    editLati = ui::placed(new QLineEdit(this), "editLati", QRect(172, 10, 96, 22));
    editLongi = ui::placed(new QLineEdit(this), "editLongi", QRect(172, 42, 96, 22));
    editTz = ui::placed(new QLineEdit(this), "editTz", QRect(172, 74, 96, 22));
    chkSummer = ui::placed(new QCheckBox(QStringLiteral("夏時間"), this), "chkSummer", QRect(12, 44, 100, 20));
    cmdOK = ui::makeButton(this, "cmdOK", QStringLiteral("了　解"), QRect(12, 134, 79, 27));
    cmdCancel = ui::makeButton(this, "cmdCancel", QStringLiteral("ｷｬﾝｾﾙ"), QRect(100, 134, 79, 27));
    cmdWrite = ui::makeButton(this, "cmdWrite", QStringLiteral("登　録"), QRect(188, 134, 79, 27));
    ui::setTabOrder({cmbName, editLati, editLongi, editTz, chkSummer, cmdOK, cmdCancel, cmdWrite});

    lblLati = ui::placed(new QLabel(QStringLiteral("緯度"), this), "lblLati", QRect(138, 13, 32, 16));
    cmbLongi = ui::placed(new QLabel(QStringLiteral("経度"), this), "cmbLongi", QRect(138, 45, 32, 16));
    cmbTz = ui::placed(new QLabel(QStringLiteral("時差"), this), "cmbTz", QRect(138, 77, 32, 16));

    connect(cmbName, qOverload<int>(&QComboBox::activated), this, &TcLocate::funcSelect);
    connect(cmbName->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) { nameShown = text; });
    connect(cmdOK, &QPushButton::clicked, this, &TcLocate::funcOK);
    connect(cmdCancel, &QPushButton::clicked, this, &TcLocate::funcCancel);
    connect(cmdWrite, &QPushButton::clicked, this, &TcLocate::funcRec);
}

bool TcLocate::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == cmbName && event->type() == QEvent::Wheel && !cmbName->hasFocus()) {
        event->ignore();
        return true;
    }
    return TcModalDialog::eventFilter(watched, event);
}

int TcLocate::loadSite(TcMainState& cMain)
{
    // A file without a complete record still counts as present: the
    // default site is in place and the dialog can append to the file.
    if (sitefile::loadSite(cMain) != sitefile::LoadResult::NoFile)
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
    sitefile::NameList names;
    bool truncated = false;
    try {
        if (sitefile::listNames(names, sitefile::kFileName, &listedFile, &truncated))
            siteCount = static_cast<int>(names.size());
    } catch (const std::bad_alloc&) {
        names.clear();
        ui::showMessage(this, kNoMemory);
    }
    if (truncated)
        ui::showMessage(this, kListTooLong.arg(sitefile::kMaxListedLines));
    static_cast<SiteNameModel*>(cmbName->model())->reset(std::move(names));
    cmbName->setCurrentIndex(-1);
    setName(ui::fromSjis(siteNameShown(cMain)));
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
    // The name is taken over as the site file would keep it.
    setSiteName(cMain, sitefile::nameAsStored(ui::toSjis(cmbName->currentText())));
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
    const std::string typed = ui::toSjis(cmbName->currentText());
    const std::string stored = sitefile::nameAsStored(typed);
    if (cReg)
        cReg->tellCut(stored == withoutTrailingBlanks(typed) ? QString() : ui::fromSjis(stored));
    if (!ui::showModalBelow(cReg, this))
        return;
    const int result = cReg->regResult;
    if (result < TcReg::kNew || result > TcReg::kOverwriteDefault)
        return;  // cancel

    const std::string record =
        sitefile::makeRecord(typed, v.latitude, v.longitude, v.timeZone, flag);
    if (result == TcReg::kOverwrite || result == TcReg::kOverwriteDefault) {
        sitefile::Status status;
        {
            ui::WaitCursor wait;  // another program may hold the file's lock
            status = sitefile::overwriteRecord(record, cMain.currentSiteIndex, sitefile::kFileName, &listedFile);
        }
        if (status != sitefile::Status::Ok) {
            showWriteFailure(status, kOverwriteFailed);
            return;
        }
    } else {
        int number = 0;
        sitefile::Status status;
        {
            ui::WaitCursor wait;
            status = sitefile::appendRecord(record, number, sitefile::kFileName, &listedFile);
        }
        if (status != sitefile::Status::Ok) {
            showWriteFailure(status, kAppendFailed);
            return;
        }

        // The record's real number; equal to siteCount unless the file
        // changed since it was listed.
        cMain.currentSiteIndex = number;
        siteCount = number + 1;
    }
    if (result == TcReg::kNewDefault || result == TcReg::kOverwriteDefault)
        cMain.defaultSiteIndex = cMain.currentSiteIndex;
}

void TcLocate::showWriteFailure(sitefile::Status status, const QString& fallback)
{
    switch (status) {
    case sitefile::Status::Busy:
        ui::showMessage(this, kBusy);
        return;
    case sitefile::Status::Replaced:
        ui::showMessage(this, kReplaced);
        return;
    case sitefile::Status::NotAligned:
        ui::showMessage(this, kNotAligned);
        return;
    default:
        ui::showMessage(this, fallback);
        return;
    }
}

void TcLocate::showing()
{
    // Every showing by the program fills the dialog anew.
    funcShow();
    cmbName->setFocus();
}
