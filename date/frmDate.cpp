#include "date/frmDate.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "date/dateSpin.h"
#include "ui/controls.h"
#include "ui/msgBox.h"
#include "ui/upDown.h"

namespace {

TcDateFields readFields(const QLineEdit* y, const QLineEdit* m, const QLineEdit* d)
{
    return TcDateFields{y->text().toStdString(), m->text().toStdString(), d->text().toStdString()};
}

void writeFields(const TcDateFields& f, QLineEdit* y, QLineEdit* m, QLineEdit* d)
{
    y->setText(QString::fromStdString(f.year));
    m->setText(QString::fromStdString(f.month));
    d->setText(QString::fromStdString(f.day));
}

}  // namespace

TcDate::TcDate(TcMainState& state, QWidget* owner)
    : TcModalDialog(owner, Frame::Tool, QStringLiteral("年月日の入力"), QSize(288, 105)), cMain(state)
{
    // One row: each field followed by its up/down control and its label.
    const int row = 20;     // top of the fields
    const int height = 21;  // field and up/down control height

    auto field = [this](const char* name, int x, int width) {
        return ui::placed(new QLineEdit(this), name, QRect(x, row, width, height));
    };
    auto spin = [this](const char* name, int x, int min, int max) {
        auto* s = ui::placed(new TcUpDown(min, max, this), name, QRect(x, row, 16, height));
        connect(s, &TcUpDown::clicked, this, [this, s](int direction) { funcSpin(s, direction); });
        return s;
    };
    auto label = [this](const char* name, const QString& text, int x) {
        return ui::placed(new QLabel(text, this), name, QRect(x, row, 14, height));
    };

    editYear = field("editYear", 24, 49);
    spinYear = spin("spinYear", 73, -2000, 2100);
    lblYear = label("lblYear", QStringLiteral("年"), 93);
    editMonth = field("editMonth", 117, 37);
    spinMonth = spin("spinMonth", 154, -1200, 1200);
    lblMonth = label("lblMonth", QStringLiteral("月"), 174);
    editDay = field("editDay", 198, 33);
    spinDay = spin("spinDay", 231, -3650, 3650);
    lblDay = label("lblDay", QStringLiteral("日"), 251);
    cmdOK = ui::makeButton(this, "cmdOK", QStringLiteral("了　解"), QRect(58, 66, 75, 25));
    cmdCancel = ui::makeButton(this, "cmdCancel", QStringLiteral("ｷｬﾝｾﾙ"), QRect(155, 66, 75, 25));

    connect(cmdOK, &QPushButton::clicked, this, &TcDate::funcOK);
    connect(cmdCancel, &QPushButton::clicked, this, &TcDate::funcExit);

    ui::setTabOrder({editYear, editMonth, editDay, spinYear, spinMonth, spinDay, cmdOK, cmdCancel});
    for (QLineEdit* edit : {editYear, editMonth, editDay})
        ui::selectAllOnFocus(edit);
}

void TcDate::funcShow()
{
    writeFields(dateFields(cMain.dispYear, cMain.dispMonth, cMain.dispDay), editYear, editMonth, editDay);
    // Each opening starts in the year, ready to be typed over.
    editYear->setFocus(Qt::OtherFocusReason);
    editYear->selectAll();
}

void TcDate::funcSpin(const QObject* sender, int direction)
{
    TcDateFields f = readFields(editYear, editMonth, editDay);
    const std::string name = sender ? sender->objectName().toStdString() : std::string();
    spinDate(f, spinFieldFor(name), direction);
    writeFields(f, editYear, editMonth, editDay);
}

void TcDate::funcOK()
{
    int32_t year = 0, month = 0, day = 0;
    switch (checkDate(readFields(editYear, editMonth, editDay), year, month, day)) {
    case TcDateCheck::BadText:
        ui::showMessage(this, QStringLiteral("不正な文字が入力されています。"));
        return;
    case TcDateCheck::OutOfRange:
        ui::showMessage(this, QStringLiteral("入力された値の範囲が不正です。"));
        return;
    case TcDateCheck::Ok:
        break;
    }
    cMain.dispYear = year;
    cMain.dispMonth = month;
    cMain.dispDay = day;
    accept();
}

void TcDate::funcExit()
{
    reject();
}
