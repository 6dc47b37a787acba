#include "ui/controls.h"

#include <QApplication>
#include <QEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

namespace ui {

namespace {

class SelectOnFocus : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // After the toolkit's own handling, which places the cursor at a click.
        if (event->type() == QEvent::FocusIn)
            QTimer::singleShot(0, watched, [field = static_cast<QLineEdit*>(watched)] { field->selectAll(); });
        return false;
    }
};

}  // namespace

void selectAllOnFocus(QLineEdit* field)
{
    field->installEventFilter(new SelectOnFocus(field));
}

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
