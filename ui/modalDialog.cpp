#include "ui/modalDialog.h"

#include <QKeyEvent>
#include <QShowEvent>

#include "ui/fonts.h"
#include "ui/framePos.h"

namespace ui {

namespace {

Qt::WindowFlags frameFlags(TcModalDialog::Frame frame)
{
    const Qt::WindowFlags caption = Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint;
    if (frame == TcModalDialog::Frame::Tool)
        return Qt::Tool | caption;
    return Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | caption;
}

}  // namespace

TcModalDialog::TcModalDialog(QWidget* owner, Frame frame, const QString& title, QSize size, Keys keyUse)
    : QDialog(owner, frameFlags(frame)), keys(keyUse)
{
    setWindowTitle(title);
    setFont(dialogFont());
    // Modal to the window it belongs to, not to the whole program: the help
    // window opened from it (F1) can be used while it is open.
    setWindowModality(Qt::WindowModal);
    setFixedSize(size);
}

void TcModalDialog::showEvent(QShowEvent* event)
{
    if (!event->spontaneous())
        showing();
    QDialog::showEvent(event);
}

void TcModalDialog::keyPressEvent(QKeyEvent* event)
{
    if (keys == Keys::ActOnNothing) {
        switch (event->key()) {
        case Qt::Key_Escape:
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            return;
        default:
            break;
        }
    }
    QDialog::keyPressEvent(event);
}

bool showModalBelow(QDialog* dialog, QWidget* owner)
{
    if (!dialog)
        return false;
    placeBelow(dialog, owner);
    dialog->exec();
    return true;
}

}  // namespace ui
