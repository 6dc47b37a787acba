// Every message box of the program goes through these two calls, so that
// tests can answer them (see setMessageHook).
#pragma once

#include <QString>
#include <functional>

class QWidget;

namespace ui {

// The message boxes the program shows.
enum class MsgKind {
    Plain,        // text, caption "Lunvelde", OK button
    Information,  // text, own caption, information icon, OK button
    Question,     // text, caption "Lunvelde", question icon, Yes and No buttons
};

struct MsgRecord {
    MsgKind kind;
    QString caption;
    QString text;
};

// Plain modal message box: the text, the caption "Lunvelde" and an OK button.
void showMessage(QWidget* owner, const QString& text);

// Modal message box with its own caption, the information icon and an OK
// button (style 0x40 on the platform this program came from).
void showInformation(QWidget* owner, const QString& text, const QString& caption);

// Modal question with Yes and No (No is the default); true for Yes.
bool askYesNo(QWidget* owner, const QString& text);

// When a hook is set, it receives every message instead of a box being shown
// (the hook answers it). Pass an empty function to show real boxes again.
using MessageHook = std::function<void(const MsgRecord&)>;
void setMessageHook(MessageHook hook);
// The answer a hooked question gets (No unless set).
void setHookedAnswer(bool yes);

}  // namespace ui
