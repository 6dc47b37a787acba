// Factories for the controls of the program's windows.
#pragma once

#include <QRect>
#include <QString>
#include <initializer_list>

class QLineEdit;
class QPushButton;
class QWidget;

namespace ui {

// Gives a new control the name its handlers and tests know it by and its
// place in its window; returns the control.
template <typename Control>
Control* placed(Control* control, const char* name, const QRect& geometry)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

enum class EnterKey {
    PressesNothing,  // no button is the default, not even the focused one
    PressesFocused,  // Enter presses the button while it has the focus
};

QPushButton* makeButton(QWidget* parent, const char* name, const QString& text, const QRect& geometry,
                        EnterKey enter = EnterKey::PressesNothing);

// Tab moves through the controls in the order given.
void setTabOrder(std::initializer_list<QWidget*> order);

// Shows the wait cursor over the program's windows while it lives (for a
// wait of a second or so in the window's own thread).
class WaitCursor {
public:
    WaitCursor();
    ~WaitCursor();
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

// The field selects all its text whenever it gets the focus (by the mouse
// too), so that typing replaces the value.
void selectAllOnFocus(QLineEdit* field);

}  // namespace ui
