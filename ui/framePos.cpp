#include "ui/framePos.h"

#include <QEvent>
#include <QGuiApplication>
#include <QTimer>
#include <QWidget>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <thread>
#include <xcb/xcb.h>

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

template <typename T>
using XReply = std::unique_ptr<T, decltype(&std::free)>;

xcb_atom_t internAtom(xcb_connection_t* c, const char* name)
{
    const XReply<xcb_intern_atom_reply_t> r(
        xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, static_cast<uint16_t>(std::strlen(name)), name), nullptr),
        &std::free);
    return r ? r->atom : xcb_atom_t(XCB_ATOM_NONE);
}

// The four CARDINALs of property on x11Window (left, right, top, bottom).
bool readExtents(xcb_connection_t* c, xcb_window_t x11Window, xcb_atom_t property, uint32_t out[4])
{
    const XReply<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, x11Window, property, XCB_ATOM_CARDINAL, 0, 4), nullptr),
        &std::free);
    if (!r || r->format != 32 || xcb_get_property_value_length(r.get()) != 16)
        return false;
    std::memcpy(out, xcb_get_property_value(r.get()), 16);
    return true;
}

// Whether the window manager lists atom in the root window's _NET_SUPPORTED.
bool managerSupports(xcb_connection_t* c, xcb_window_t root, xcb_atom_t atom)
{
    const xcb_atom_t supported = internAtom(c, "_NET_SUPPORTED");
    const XReply<xcb_get_property_reply_t> r(
        xcb_get_property_reply(c, xcb_get_property(c, 0, root, supported, XCB_ATOM_ATOM, 0, 4096), nullptr),
        &std::free);
    if (!r || r->format != 32)
        return false;
    const auto* atoms = static_cast<const xcb_atom_t*>(xcb_get_property_value(r.get()));
    const int n = xcb_get_property_value_length(r.get()) / 4;
    for (int i = 0; i < n; ++i)
        if (atoms[i] == atom)
            return true;
    return false;
}

// X11 with a window manager: the top-left offset of the client area inside
// the frame the manager will give window, asked for before the window is
// mapped (_NET_REQUEST_FRAME_EXTENTS); null when there is no answer.
QPoint frameOffset(QWidget* window)
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return {};
    auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    xcb_connection_t* c = x11 ? x11->connection() : nullptr;
    if (!c)
        return {};
    const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
    const xcb_atom_t request = internAtom(c, "_NET_REQUEST_FRAME_EXTENTS");
    if (request == XCB_ATOM_NONE || !managerSupports(c, root, request))
        return {};
    const xcb_atom_t extents = internAtom(c, "_NET_FRAME_EXTENTS");
    const auto x11Window = static_cast<xcb_window_t>(window->winId());

    xcb_client_message_event_t message {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = x11Window;
    message.type = request;
    xcb_send_event(c, 0, root, XCB_EVENT_MASK_SUBSTRUCTURE_REDIRECT | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(c);
    // The manager answers at once by setting the property; give it 200 ms.
    uint32_t e[4] = {};
    for (int i = 0; i < 100; ++i) {
        if (readExtents(c, x11Window, extents, e)) {
            const double ratio = window->devicePixelRatioF();
            return QPoint(qRound(e[0] / ratio), qRound(e[2] / ratio));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return {};
}

}  // namespace

void moveFrame(QWidget* window, QPoint topLeft)
{
    window->move(topLeft);
    if (window->isVisible())
        return;  // the frame is known: move() has placed it
    // A window not shown yet is put by its client area: offset it by the
    // frame the window manager announces, and correct the place once the
    // window is shown with its real frame, should that differ.
    const QPoint offset = frameOffset(window);
    if (!offset.isNull())
        window->setGeometry(QRect(topLeft + offset, window->size()));  // the client area
    QObject* pending = window->findChild<QObject*>(FrameFix::name(), Qt::FindDirectChildrenOnly);
    if (pending)
        static_cast<FrameFix*>(pending)->target = topLeft;
    else
        new FrameFix(window, topLeft);
}

void placeBelow(QWidget* window, const QWidget* owner)
{
    moveFrame(window, owner->pos() + QPoint(30, 50));
}

}  // namespace ui
