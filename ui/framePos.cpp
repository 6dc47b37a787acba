#include "ui/framePos.h"

#include <QEvent>
#include <QTimer>
#include <QWidget>

namespace ui {

namespace {

// Watches one window until it is shown with a known frame, then moves the
// frame to where it was asked to be, and deletes itself.
class FrameFix : public QObject {
public:
    FrameFix(QWidget* window, QPoint topLeft) : QObject(window), target(topLeft), window(window)
    {
        setObjectName(name());
        window->installEventFilter(this);
    }

    static QString name() { return QStringLiteral("ui_frameFix"); }

    QPoint target;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != window)
            return false;
        switch (event->type()) {
        case QEvent::Show:
            // A window manager frames a window within moments of its mapping;
            // without one there is no frame to wait for.
            QTimer::singleShot(kWaitMs, this, [this] { done(); });
            break;
        case QEvent::Move:
        case QEvent::Paint:
        case QEvent::WindowActivate:
            // The frame becomes known while the client area stays put, so
            // any of these may be the first to see it.
            if (window->isVisible() && window->frameGeometry() != window->geometry()) {
                // A move of a shown window places its frame.
                if (window->pos() != target)
                    window->move(target);
                done();
            }
            break;
        case QEvent::Hide:
            done();
            break;
        default:
            break;
        }
        return false;
    }

private:
    static constexpr int kWaitMs = 2000;

    void done()
    {
        window->removeEventFilter(this);
        deleteLater();
    }

    QWidget* window;
};

}  // namespace

void moveFrame(QWidget* window, QPoint topLeft)
{
    window->move(topLeft);
    if (window->isVisible())
        return;  // the frame is known: move() has placed it
    // A window not shown yet is put with its client area at topLeft; the frame
    // is moved there once the window manager has framed it.
    QObject* pending = window->findChild<QObject*>(FrameFix::name(), Qt::FindDirectChildrenOnly);
    if (pending)
        static_cast<FrameFix*>(pending)->target = topLeft;
    else
        new FrameFix(window, topLeft);
}

}  // namespace ui
