#include "ui/msgBox.h"

#include <QMessageBox>
#include <QPushButton>

namespace ui {

namespace {

MessageHook& hook()
{
    static MessageHook h;
    return h;
}

bool& hookedAnswer()
{
    static bool yes = false;
    return yes;
}

void show(QWidget* owner, const MsgRecord& m)
{
    if (hook()) {
        hook()(m);
        return;
    }
    QMessageBox box(m.kind == MsgKind::Information ? QMessageBox::Information : QMessageBox::NoIcon,
                    m.caption, m.text, QMessageBox::Ok, owner);
    box.exec();
}

}  // namespace

void showMessage(QWidget* owner, const QString& text)
{
    show(owner, MsgRecord{MsgKind::Plain, QStringLiteral("Lunvelde"), text});
}

void showInformation(QWidget* owner, const QString& text, const QString& caption)
{
    show(owner, MsgRecord{MsgKind::Information, caption, text});
}

bool askYesNo(QWidget* owner, const QString& text)
{
    const MsgRecord m{MsgKind::Question, QStringLiteral("Lunvelde"), text};
    if (hook()) {
        hook()(m);
        return hookedAnswer();
    }
    QMessageBox box(QMessageBox::Question, m.caption, m.text, QMessageBox::Yes | QMessageBox::No, owner);
    box.button(QMessageBox::Yes)->setText(QStringLiteral("はい(&Y)"));
    box.button(QMessageBox::No)->setText(QStringLiteral("いいえ(&N)"));
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

void setHookedAnswer(bool yes)
{
    hookedAnswer() = yes;
}

void setMessageHook(MessageHook h)
{
    hook() = std::move(h);
}

}  // namespace ui
