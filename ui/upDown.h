// TcUpDown: a small up/down control, an up arrow above a down arrow. It keeps
// a position within a fixed range; the position starts at 0 and does not
// wrap. A click (or the Up/Down key while it has focus) that moves the
// position is reported with its direction; one that cannot move it is not.
#pragma once

#include <QWidget>

class QToolButton;

class TcUpDown : public QWidget {
    Q_OBJECT
public:
    // The control is 16 x 21 pixels; min <= 0 <= max is expected (a range
    // that leaves 0 out puts the position at its nearer end).
    TcUpDown(int min, int max, QWidget* parent = nullptr);

    int position() const { return pos; }
    int minimum() const { return lo; }
    int maximum() const { return hi; }

    // One click in the direction's sign (up for positive). Returns whether
    // the position moved, which is also when clicked() is emitted.
    bool step(int direction);

    QToolButton* upButton() const { return up; }
    QToolButton* downButton() const { return down; }

signals:
    // +1 for up, -1 for down.
    void clicked(int direction);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    int lo;
    int hi;
    int pos;
    QToolButton* up;
    QToolButton* down;
};
