#include "ui/controls.h"

#include <QApplication>
#include <QPushButton>

namespace ui {

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                        EnterKey enter)
{
    auto* b = placed(new QPushButton(text, parent), name, geometry);
    b->setAutoDefault(enter == EnterKey::PressesFocused);
    return b;
}

void setTabOrder(std::initializer_list<QWidget*> order)
{
    QWidget* previous = nullptr;
    for (QWidget* w : order) {
        if (previous)
            QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

WaitCursor::WaitCursor()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    // The cursor reaches the screen only when the toolkit next runs; what
    // the user types meanwhile waits.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

WaitCursor::~WaitCursor() { QApplication::restoreOverrideCursor(); }

}  // namespace ui
