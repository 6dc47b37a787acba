#include "date/frmDate.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <iterator>

#include "date/dateSpin.h"
#include "ui/fonts.h"
#include "ui/msgBox.h"
#include "ui/upDown.h"

namespace {

TcDateFields readFields(const QLineEdit* y, const QLineEdit* m, const QLineEdit* d)
{
    return TcDateFields{y->text().toStdString(), m->text().toStdString(), d->text().toStdString()};
}

}  // namespace

TcDate::TcDate(TcMainState& state, QWidget* owner) : QDialog(owner), cMain(state)
{
    setWindowTitle(QStringLiteral("年月日の入力"));
    setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint);
    setFont(ui::dialogFont());
    setFixedSize(288, 105);

    const int row = 20;     // top of the fields
    const int height = 21;  // field and up/down control height

    auto field = [this](const char* name, int x, int width) {
        auto* e = new QLineEdit(this);
        e->setObjectName(QString::fromLatin1(name));
        e->setGeometry(x, row, width, height);
        return e;
    };
    auto spin = [this](const char* name, int x, int min, int max) {
        auto* s = new TcUpDown(min, max, this);
        s->setObjectName(QString::fromLatin1(name));
        s->move(x, row);
        connect(s, &TcUpDown::clicked, this, [this, s](int direction) { funcSpin(s, direction); });
        return s;
    };
    auto label = [this](const char* name, const QString& text, int x) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setGeometry(x, row, 14, height);
        return l;
    };
    auto button = [this](const char* name, const QString& text, int x) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(QString::fromLatin1(name));
        b->setGeometry(x, 66, 75, 25);
        // No default button: Enter presses none of them.
        b->setAutoDefault(false);
        b->setDefault(false);
        return b;
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
    cmdOK = button("cmdOK", QStringLiteral("了　解"), 58);
    cmdCancel = button("cmdCancel", QStringLiteral("ｷｬﾝｾﾙ"), 155);

    connect(cmdOK, &QPushButton::clicked, this, &TcDate::funcOK);
    connect(cmdCancel, &QPushButton::clicked, this, &TcDate::funcExit);

    QWidget* order[] = {editYear, editMonth, editDay, spinYear, spinMonth, spinDay, cmdOK, cmdCancel};
    for (std::size_t i = 0; i + 1 < std::size(order); ++i)
        setTabOrder(order[i], order[i + 1]);
}

void TcDate::funcShow()
{
    const TcDateFields f = dateFields(cMain.dispYear, cMain.dispMonth, cMain.dispDay);
    editYear->setText(QString::fromStdString(f.year));
    editMonth->setText(QString::fromStdString(f.month));
    editDay->setText(QString::fromStdString(f.day));
}

void TcDate::funcSpin(const QObject* sender, int direction)
{
    TcDateFields f = readFields(editYear, editMonth, editDay);
    const std::string name = sender ? sender->objectName().toStdString() : std::string();
    spinDate(f, spinFieldFor(name), direction);
    editYear->setText(QString::fromStdString(f.year));
    editMonth->setText(QString::fromStdString(f.month));
    editDay->setText(QString::fromStdString(f.day));
}

void TcDate::funcOK()
{
    int32_t year = 0, month = 0, day = 0;
    switch (checkDate(readFields(editYear, editMonth, editDay), year, month, day)) {
    case TcDateCheck::badText:
        ui::showMessage(this, QStringLiteral("不正な文字が入力されています。"));
        return;
    case TcDateCheck::outOfRange:
        ui::showMessage(this, QStringLiteral("入力された値の範囲が不正です。"));
        return;
    case TcDateCheck::ok:
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

void TcDate::showEvent(QShowEvent* event)
{
    // A spontaneous show (the window coming back from being minimised) keeps
    // what the user has typed.
    if (!event->spontaneous())
        funcShow();
    QDialog::showEvent(event);
}

void TcDate::keyPressEvent(QKeyEvent* event)
{
    // Neither Escape nor Enter acts on the dialog; only the buttons and the
    // close box end it.
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
