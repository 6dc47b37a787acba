#include "support.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QSettings>
#include <QTimer>

#include "app/helpViewer.h"
#include "app/today.h"
#include "ui/fonts.h"

namespace support {

namespace {

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile f(path);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(path));
    QCOMPARE(f.write(bytes), bytes.size());
}

QString settingsFile(const QString& configDir)
{
    return configDir + QStringLiteral("/Qorvex/lunvelde.conf");
}

}  // namespace

void isolateUserFolders()
{
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    static QTemporaryDir home;
    const QByteArray path = QFile::encodeName(home.path());
    qputenv("HOME", path);
    qputenv("XDG_CONFIG_HOME", path + "/.config");
    qputenv("XDG_DATA_HOME", path + "/.local/share");
    QDir(home.path()).mkdir(QStringLiteral("runtime"));
    QFile::setPermissions(home.path() + "/runtime", QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", path + "/runtime");
    QDir::setCurrent(home.path());
}

void setUpFonts()
{
    ui::installFontSubstitutes();
    QApplication::setFont(ui::dialogFont());
}

TestFolders::TestFolders() : previousDir(QDir::currentPath())
{
    QDir(root.path()).mkpath(QStringLiteral("work"));
    QDir(root.path()).mkpath(QStringLiteral("config"));
    QDir::setCurrent(root.path() + QStringLiteral("/work"));
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(configDir()));
    // QSettings looks the user folder up only once per run; tell it anew.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir());
}

TestFolders::~TestFolders()
{
    QDir::setCurrent(previousDir);
}

void TestFolders::writeWorkFile(const QString& name, const QByteArray& bytes) const
{
    writeFile(QDir::current().filePath(name), bytes);
}

QByteArray TestFolders::settingsText() const
{
    QFile f(settingsFile(configDir()));
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestFolders::writeSettingsText(const QByteArray& text) const
{
    QDir().mkpath(configDir() + QStringLiteral("/Qorvex"));
    writeFile(settingsFile(configDir()), text);
}

MessageRecorder::MessageRecorder()
{
    ui::setMessageHook([this](const ui::MsgRecord& m) { messages << m; });
}

MessageRecorder::~MessageRecorder()
{
    ui::setMessageHook({});
}

QStringList MessageRecorder::texts() const
{
    QStringList all;
    for (const auto& m : messages)
        all << m.text;
    return all;
}

bool activate(QWidget* window)
{
    window->activateWindow();
    return QTest::qWaitFor([window] { return QApplication::activeWindow() == window; });
}

QStringList tabChain(QWidget* first, int steps)
{
    if (!activate(first->window()))
        return {};
    first->setFocus();
    QStringList names;
    for (int i = 0; i <= steps; ++i) {
        QWidget* f = QApplication::focusWidget();
        if (!f)
            break;
        if (auto* combo = qobject_cast<QComboBox*>(f->parentWidget()); combo && f == combo->lineEdit())
            f = combo;
        names << f->objectName();
        if (i < steps)
            QTest::keyClick(f, Qt::Key_Tab);
    }
    return names;
}

void pressEnterAndEscape(const QList<QWidget*>& widgets)
{
    for (QWidget* w : widgets) {
        w->setFocus();
        for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape})
            QTest::keyClick(w, key);
    }
}

void whileModal(QDialog* dialog, std::function<void()> act)
{
    QTimer::singleShot(0, dialog, [dialog, act] {
        if (dialog->isVisible())
            act();
    });
}

void startTestDay()
{
    TcHelp::setReaderPath(QStringLiteral("/nonexistent/lunvelde-no-such-reader"));
    setTodaySource({[] { return UtcClock {2000, 5, 12, 3, 0}; }, [] { return -32400L; }});
}

void endTestDay() { setTodaySource({}); }

QList<int> storedSettings()
{
    const QSettings s(QStringLiteral("Qorvex"), QStringLiteral("lunvelde"));
    QList<int> values;
    for (const char* key : {"WindowTop", "WindowLeft", "initData"})
        values << s.value(QLatin1String(key), -1).toInt();
    return values;
}

}  // namespace support
