#include "sites/frmReg.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

#include "ui/controls.h"
#include "ui/fonts.h"

TcReg::TcReg(QWidget* owner)
    : TcModalDialog(owner, Frame::Dialog, QStringLiteral("観測地データの登録"), QSize(299, 120))
{
    setObjectName(QStringLiteral("cReg"));

    LabelCaption = ui::placed(new QLabel(QStringLiteral("観測地データを登録します。"), this), "LabelCaption",
                              QRect(16, 12, 270, 22));
    QFont captionFont = ui::dialogFont();
    captionFont.setPixelSize(15);
    LabelCaption->setFont(captionFont);

    // Created in tab order: the three buttons, then the check box.
    cmdNew = ui::makeButton(this, "cmdNew", QStringLiteral("新規登録"), QRect(16, 82, 81, 27));
    cmdOver = ui::makeButton(this, "cmdOver", QStringLiteral("上書き"), QRect(109, 82, 81, 27));
    cmdCancel = ui::makeButton(this, "cmdCancel", QStringLiteral("ｷｬﾝｾﾙ"), QRect(202, 82, 81, 27));
    checkDefault = ui::placed(new QCheckBox(QStringLiteral("起動時のデフォルトに設定"), this), "checkDefault",
                              QRect(16, 46, 260, 20));
    ui::setTabOrder({cmdNew, cmdOver, cmdCancel, checkDefault});
    lblCut = ui::placed(new QLabel(this), "lblCut", QRect(16, 118, 270, 36));
    lblCut->setWordWrap(true);
    lblCut->hide();

    connect(cmdNew, &QPushButton::clicked, this, &TcReg::cmdNewClick);
    connect(cmdOver, &QPushButton::clicked, this, &TcReg::cmdOverClick);
    connect(cmdCancel, &QPushButton::clicked, this, &TcReg::cmdCancelClick);
}

void TcReg::tellCut(const QString& storedName)
{
    // The dialog grows by the note only when there is something to say.
    lblCut->setVisible(!storedName.isEmpty());
    lblCut->setText(QStringLiteral("名前は全角7文字（半角14文字）までのため、「%1」と登録されます。").arg(storedName));
    setFixedSize(299, storedName.isEmpty() ? 120 : 160);
}

void TcReg::regActive()
{
    checkDefault->setChecked(false);
    regResult = kCancel;
}

void TcReg::cmdNewClick()
{
    regResult = checkDefault->isChecked() ? kNewDefault : kNew;
    accept();
}

void TcReg::cmdOverClick()
{
    regResult = checkDefault->isChecked() ? kOverwriteDefault : kOverwrite;
    accept();
}

void TcReg::cmdCancelClick()
{
    regResult = kCancel;
    reject();
}

void TcReg::showing()
{
    // Only showings by the program count, not activations: the dialog is
    // modal, so nothing else of this program can become active while it is
    // open, and switching to another application and back must not untick
    // the box.
    regActive();
    cmdNew->setFocus();
}
