// Shared helpers for the window tests.
//
//   LUNVELDE_GUI_TEST_MAIN(TestClass)  - a main() that points HOME and
//       XDG_CONFIG_HOME at a temporary folder before the application object
//       exists, then runs the test class.
//   TestFolders - per test: a fresh working directory (made current) and a
//       fresh settings folder that QSettings writes into.
//   MessageRecorder - answers every message box and keeps what it said.
#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QTemporaryDir>
#include <QTest>

#include "ui/msgBox.h"

namespace support {

// Points HOME and XDG_CONFIG_HOME at a folder of their own for the whole run,
// so nothing the program does reaches the user's files. Call before the
// application object is created.
void isolateUserFolders();

class TestFolders {
public:
    TestFolders();
    ~TestFolders();
    TestFolders(const TestFolders&) = delete;
    TestFolders& operator=(const TestFolders&) = delete;

    QString workDir() const;    // the current directory during the test
    QString configDir() const;  // XDG_CONFIG_HOME during the test

    // Writes bytes to a file in the working directory.
    void writeWorkFile(const QString& name, const QByteArray& bytes) const;
    // The program's settings file and its raw text ("" when there is none).
    QString settingsFile() const;
    QByteArray settingsText() const;
    // Writes the settings file by hand (text of an ini file).
    void writeSettingsText(const QByteArray& text) const;

private:
    QTemporaryDir root;
    QString previousDir;
};

class MessageRecorder {
public:
    MessageRecorder();   // installs the hook
    ~MessageRecorder();  // removes it
    MessageRecorder(const MessageRecorder&) = delete;
    MessageRecorder& operator=(const MessageRecorder&) = delete;

    QList<ui::MsgRecord> messages;
    // How many messages carried this text.
    int count(const QString& text) const;
};

}  // namespace support

#define LUNVELDE_GUI_TEST_MAIN(TestClass)                 \
    int main(int argc, char* argv[])                      \
    {                                                     \
        support::isolateUserFolders();                    \
        QApplication app(argc, argv);                     \
        TestClass test;                                   \
        return QTest::qExec(&test, argc, argv);           \
    }
