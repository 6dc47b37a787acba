#include "ui/framePos.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdint>
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
                // A move of a shown window places its frame; the real frame
                // may be larger than the one announced.
                const QPoint fitted = fitFrame(target, window->frameGeometry().size(), screenAreas()).topLeft();
                if (window->pos() != fitted)
                    window->move(fitted);
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

// X11 with a window manager: the borders of the frame the manager will give
// window, asked for before the window is mapped (_NET_REQUEST_FRAME_EXTENTS);
// null when there is no answer.
QMargins announcedFrame(QWidget* window)
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
            return QMargins(qRound(e[0] / ratio), qRound(e[2] / ratio), qRound(e[1] / ratio), qRound(e[3] / ratio));
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return {};
}

// The borders of window's frame: as shown, or as the window manager
// announces them for a window not shown yet.
QMargins frameMargins(QWidget* window)
{
    if (window->isVisible()) {
        const QRect f = window->frameGeometry(), g = window->geometry();
        return QMargins(g.left() - f.left(), g.top() - f.top(), f.right() - g.right(), f.bottom() - g.bottom());
    }
    return announcedFrame(window);
}

// window's size once its layout has settled it (a window not shown yet may
// still have its default size).
QSize settledSize(QWidget* window)
{
    if (!window->isVisible() && window->layout())
        window->layout()->activate();
    return window->size();
}

struct Span {
    std::int64_t left, top, width, height;
};

// How much of a lies within b, in square pixels.
std::int64_t overlap(const Span& a, const QRect& b)
{
    const std::int64_t w = std::min<std::int64_t>(a.left + a.width, std::int64_t(b.x()) + b.width()) -
                           std::max<std::int64_t>(a.left, b.x());
    const std::int64_t h = std::min<std::int64_t>(a.top + a.height, std::int64_t(b.y()) + b.height()) -
                           std::max<std::int64_t>(a.top, b.y());
    return w > 0 && h > 0 ? w * h : 0;
}

// How far a lies from b along the axes (0 when they touch or overlap).
std::int64_t distance(const Span& a, const QRect& b)
{
    const auto gap = [](std::int64_t lo, std::int64_t len, std::int64_t blo, std::int64_t blen) {
        return std::max<std::int64_t>({0, blo - (lo + len), lo - (blo + blen)});
    };
    return gap(a.left, a.width, b.x(), b.width()) + gap(a.top, a.height, b.y(), b.height());
}

}  // namespace

QRect fitFrame(QPoint topLeft, QSize size, const QList<QRect>& areas)
{
    const Span frame {topLeft.x(), topLeft.y(), std::max(size.width(), 0), std::max(size.height(), 0)};
    const QRect* best = nullptr;
    std::int64_t bestOverlap = 0, bestDistance = 0;
    for (const QRect& area : areas) {
        if (area.isEmpty())
            continue;
        const std::int64_t o = overlap(frame, area);
        if (o == frame.width * frame.height && o > 0)
            return QRect(topLeft, size);  // wholly on this area: as asked
        const std::int64_t d = distance(frame, area);
        if (!best || o > bestOverlap || (o == bestOverlap && o == 0 && d < bestDistance)) {
            best = &area;
            bestOverlap = o;
            bestDistance = d;
        }
    }
    if (!best)
        return QRect(QPoint(0, 0), size).translated(std::clamp(topLeft.x(), -(1 << 24), 1 << 24),
                                                    std::clamp(topLeft.y(), -(1 << 24), 1 << 24));
    const QRect& area = *best;
    const int width = std::min(size.width(), area.width());
    const int height = std::min(size.height(), area.height());
    const auto into = [](std::int64_t at, std::int64_t lo, std::int64_t len, std::int64_t space) {
        return static_cast<int>(std::clamp(at, lo, lo + space - len));
    };
    return QRect(into(frame.left, area.x(), width, area.width()), into(frame.top, area.y(), height, area.height()),
                 width, height);
}

QRect besideFrame(QRect owner, QSize size, const QList<QRect>& areas)
{
    const QPoint places[] = {
        {owner.right() + 9, owner.top()},
        {owner.left() - 9 - size.width(), owner.top()},
        {owner.left(), owner.bottom() + 9},
        {owner.left(), owner.top() - 9 - size.height()},
    };
    QRect best;
    std::int64_t least = -1;
    for (const QPoint& at : places) {
        const QRect r = fitFrame(at, size, areas);
        const QRect covered = r.intersected(owner);
        const std::int64_t c = std::int64_t(covered.width()) * covered.height();
        if (least < 0 || c < least) {
            best = r;
            least = c;
        }
        if (c == 0)
            break;
    }
    return best;
}

QList<QRect> screenAreas()
{
    QList<QRect> areas;
    if (QScreen* primary = QGuiApplication::primaryScreen())
        areas << primary->availableGeometry();
    for (QScreen* screen : QGuiApplication::screens())
        if (screen != QGuiApplication::primaryScreen())
            areas << screen->availableGeometry();
    return areas;
}

QSize sizeOnScreen(QWidget* window, QSize wanted)
{
    const QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return wanted;
    return wanted.boundedTo(screen->availableGeometry().size().shrunkBy(frameMargins(window)));
}

void moveFrame(QWidget* window, QPoint asked)
{
    // The frame goes where it was asked to, unless it would not be seen
    // there; a resizable window larger than the screen is made smaller.
    const QMargins margins = frameMargins(window);
    const QSize client = settledSize(window);
    const QRect fitted = fitFrame(asked, client.grownBy(margins), screenAreas());
    const QSize fittedClient = fitted.size().shrunkBy(margins);
    if (fittedClient != client && window->minimumSize() != window->maximumSize())
        window->resize(fittedClient);
    const QPoint topLeft = fitted.topLeft();

    window->move(topLeft);
    if (window->isVisible())
        return;  // the frame is known: move() has placed it
    // A window not shown yet is put by its client area: offset it by the
    // frame the window manager announces, and correct the place once the
    // window is shown with its real frame, should that differ.
    if (!margins.isNull())
        window->setGeometry(QRect(topLeft + QPoint(margins.left(), margins.top()), window->size()));  // the client area
    QObject* pending = window->findChild<QObject*>(FrameFix::name(), Qt::FindDirectChildrenOnly);
    if (pending)
        static_cast<FrameFix*>(pending)->target = topLeft;
    else
        new FrameFix(window, topLeft);
}

void placeBeside(QWidget* window, const QWidget* owner)
{
    const QSize frame = settledSize(window).grownBy(frameMargins(window));
    moveFrame(window, besideFrame(owner->frameGeometry(), frame, screenAreas()).topLeft());
}

void placeBelow(QWidget* window, const QWidget* owner)
{
    moveFrame(window, owner->pos() + QPoint(30, 50));
}

}  // namespace ui
