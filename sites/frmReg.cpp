#include "sites/frmReg.h"

#include <QCheckBox>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>

#include "ui/fonts.h"

namespace {

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

}  // namespace

TcReg::TcReg(QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                         Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("cReg"));
    setWindowTitle(QStringLiteral("観測地データの登録"));
    setFont(ui::dialogFont());
    setFixedSize(299, 120);

    LabelCaption = new QLabel(QStringLiteral("観測地データを登録します。"), this);
    LabelCaption->setObjectName(QStringLiteral("LabelCaption"));
    QFont captionFont = ui::dialogFont();
    captionFont.setPixelSize(15);
    LabelCaption->setFont(captionFont);
    LabelCaption->setGeometry(16, 12, 270, 22);

    // Created in tab order: the three buttons, then the check box.
    cmdNew = makeButton(this, "cmdNew", QStringLiteral("新規登録"), QRect(16, 82, 81, 27));
    cmdOver = makeButton(this, "cmdOver", QStringLiteral("上書き"), QRect(109, 82, 81, 27));
    cmdCancel = makeButton(this, "cmdCancel", QStringLiteral("ｷｬﾝｾﾙ"), QRect(202, 82, 81, 27));
    checkDefault = new QCheckBox(QStringLiteral("起動時のデフォルトに設定"), this);
    checkDefault->setObjectName(QStringLiteral("checkDefault"));
    checkDefault->setGeometry(16, 46, 260, 20);
    setTabOrder(cmdNew, cmdOver);
    setTabOrder(cmdOver, cmdCancel);
    setTabOrder(cmdCancel, checkDefault);

    connect(cmdNew, &QPushButton::clicked, this, &TcReg::cmdNewClick);
    connect(cmdOver, &QPushButton::clicked, this, &TcReg::cmdOverClick);
    connect(cmdCancel, &QPushButton::clicked, this, &TcReg::cmdCancelClick);
}

void TcReg::regActive()
{
    checkDefault->setChecked(false);
    regResult = 5;
}

void TcReg::cmdNewClick()
{
    regResult = checkDefault->isChecked() ? 1 : 0;
    accept();
}

void TcReg::cmdOverClick()
{
    regResult = checkDefault->isChecked() ? 3 : 2;
    accept();
}

void TcReg::cmdCancelClick()
{
    regResult = 5;
    reject();
}

void TcReg::showEvent(QShowEvent* event)
{
    // Each showing by the program (not a restore by the window system).
    // Only showings count: the dialog is modal, so nothing else of this
    // program can become active while it is open, and switching to another
    // application and back must not untick the box.
    if (!event->spontaneous()) {
        regActive();
        cmdNew->setFocus();
    }
    QDialog::showEvent(event);
}

void TcReg::keyPressEvent(QKeyEvent* event)
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
