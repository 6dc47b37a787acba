// The application object of the window program: it ends the program
// cleanly when an event handler throws.
//
// Before the event loop runs (loopRunning false) an exception goes on to
// main, which reports a failed start. Once it runs, an exception thrown by a
// handler is written to stderr as one line and shown in a message box; then
// every event loop is left with exit code 1 and no event is delivered any
// more, so that no handler (the main window's close, which stores the
// settings) runs on the state the failure left behind.
#pragma once

#include <QApplication>
#include <QString>
#include <exception>

// The words for an exception: its what(), or a general sentence.
QString describeError(std::exception_ptr error);

class GuardedApplication : public QApplication {
public:
    using QApplication::QApplication;

    bool loopRunning = false;

    // True once a handler has thrown.
    bool failed() const { return broken; }

    bool notify(QObject* receiver, QEvent* event) override;

private:
    bool broken = false;
    bool reporting = false;  // the message box of a failure is up
};
