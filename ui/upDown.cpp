#include "ui/upDown.h"

#include <QKeyEvent>
#include <QPainter>
#include <QStyleOptionFocusRect>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

QToolButton* arrowButton(Qt::ArrowType arrow, QWidget* parent)
{
    auto* b = new QToolButton(parent);
    b->setArrowType(arrow);
    b->setFocusPolicy(Qt::NoFocus);  // the control takes the focus, not its halves
    b->setAutoRepeat(true);          // holding the mouse button keeps stepping
    b->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
    b->setIconSize(QSize(7, 7));
    return b;
}

}  // namespace

TcUpDown::TcUpDown(int min, int max, QWidget* parent)
    : QWidget(parent), lo(min), hi(max), pos(0)
{
    if (pos < lo)
        pos = lo;
    if (pos > hi)
        pos = hi;

    setFixedSize(16, 21);
    setFocusPolicy(Qt::StrongFocus);

    up = arrowButton(Qt::UpArrow, this);
    down = arrowButton(Qt::DownArrow, this);
    auto* layout = new QVBoxLayout(this);
    // One pixel all round stays free for the focus frame.
    layout->setContentsMargins(1, 1, 1, 1);
    layout->setSpacing(0);
    layout->addWidget(up);
    layout->addWidget(down);

    connect(up, &QToolButton::clicked, this, [this] { step(+1); });
    connect(down, &QToolButton::clicked, this, [this] { step(-1); });
}

bool TcUpDown::step(int direction)
{
    if (direction > 0) {
        if (pos >= hi)
            return false;
        ++pos;
        emit clicked(+1);
        return true;
    }
    if (direction < 0) {
        if (pos <= lo)
            return false;
        --pos;
        emit clicked(-1);
        return true;
    }
    return false;
}

void TcUpDown::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Up:
        step(+1);
        event->accept();
        return;
    case Qt::Key_Down:
        step(-1);
        event->accept();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TcUpDown::paintEvent(QPaintEvent*)
{
    if (!hasFocus())
        return;
    QPainter p(this);
    QStyleOptionFocusRect opt;
    opt.initFrom(this);
    opt.rect = rect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &opt, &p, this);
}

void TcUpDown::focusInEvent(QFocusEvent* event)
{
    QWidget::focusInEvent(event);
    update();
}

void TcUpDown::focusOutEvent(QFocusEvent* event)
{
    QWidget::focusOutEvent(event);
    update();
}
