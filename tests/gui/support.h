// Shared helpers for the window tests.
#pragma once

#include <QList>
#include <QStringList>
#include <QTemporaryDir>
#include <QTest>
#include <functional>

#include "ui/msgBox.h"

class QDialog;
class QWidget;

namespace support {

// Offscreen platform, and HOME, XDG_CONFIG_HOME and the working folder in a
// throw-away folder, so nothing reaches the user's files; call before the
// application object exists. setUpFonts: the program's fonts, after it.
void isolateUserFolders();
void setUpFonts();

// Per test: a fresh working folder (made current) and a fresh settings folder.
class TestFolders {
public:
    TestFolders();
    ~TestFolders();

    QString configDir() const { return root.path() + QStringLiteral("/config"); }
    // Writes a file in the working folder.
    void writeWorkFile(const QString& name, const QByteArray& bytes) const;
    // The program's settings file as text ("" when there is none), and
    // written by hand.
    QByteArray settingsText() const;
    void writeSettingsText(const QByteArray& text) const;

private:
    QTemporaryDir root;
    QString previousDir;
};

// Answers every message box and keeps what it said.
class MessageRecorder {
public:
    MessageRecorder();
    ~MessageRecorder();

    QList<ui::MsgRecord> messages;
    QStringList texts() const;
    int count(const QString& text) const { return texts().count(text); }
};

// The usual day of a window test: help never works (no reader), and today
// is 12 May 2000 at UT+9. endTestDay gives today back to the system clock.
void startTestDay();
void endTestDay();

// The three stored settings values, WindowTop, WindowLeft and initData (-1
// where missing), as the toolkit reads them.
QList<int> storedSettings();

// Makes window the active window and waits until the application agrees.
bool activate(QWidget* window);

// Gives first the focus in its activated window and presses Tab steps times:
// the names of the focused controls, first included (a combo box's text field
// answers with the combo box's name).
QStringList tabChain(QWidget* first, int steps);

// Presses Return, Enter and Escape on each widget, with the focus on it.
void pressEnterAndEscape(const QList<QWidget*>& widgets);

// Runs act inside the modal showing of dialog that the caller is about to
// start; act does not run if the dialog is not showing when events are next
// processed.
void whileModal(QDialog* dialog, std::function<void()> act);

}  // namespace support

#define LUNVELDE_GUI_TEST_MAIN(TestClass)       \
    int main(int argc, char* argv[])            \
    {                                           \
        support::isolateUserFolders();          \
        QApplication app(argc, argv);           \
        support::setUpFonts();                  \
        TestClass test;                         \
        return QTest::qExec(&test, argc, argv); \
    }
