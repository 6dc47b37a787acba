// TcModalDialog: the common base of the program's dialogs. A fixed-size
// window in the dialog font that runs a hook at every showing by the program
// and, unless told otherwise, lets neither Escape nor Enter act: only its
// buttons and the close box end it.
#pragma once

#include <QDialog>
#include <QSize>

namespace ui {

class TcModalDialog : public QDialog {
    Q_OBJECT
public:
    enum class Frame {
        Tool,    // tool window: caption and close box
        Dialog,  // dialog frame: caption and close box
    };
    enum class Keys {
        ActOnNothing,  // Escape and Enter press no button and do not close
        Standard,      // Escape closes, Enter presses the focused button
    };

    TcModalDialog(QWidget* owner, Frame frame, const QString& title, QSize size, Keys keys = Keys::ActOnNothing);

protected:
    // Runs at each showing by the program, before the window is mapped; a
    // spontaneous show (the window system restoring a minimised window) does
    // not run it, so what the user has typed stays.
    virtual void showing() = 0;

    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    Keys keys;
};

// Places dialog 30 pixels right of and 50 pixels below owner's top-left
// corner and shows it modally. False, and nothing shown, without a dialog.
bool showModalBelow(QDialog* dialog, QWidget* owner);

}  // namespace ui
