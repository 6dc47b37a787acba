#include "support.h"

#include <QDir>
#include <QFile>
#include <QSettings>
#include <cstdlib>

namespace support {

void isolateUserFolders()
{
    static QTemporaryDir home;
    const QByteArray path = home.path().toLocal8Bit();
    qputenv("HOME", path);
    qputenv("XDG_CONFIG_HOME", path + "/.config");
    qputenv("XDG_DATA_HOME", path + "/.local/share");
}

TestFolders::TestFolders() : previousDir(QDir::currentPath())
{
    QDir(root.path()).mkpath(QStringLiteral("work"));
    QDir(root.path()).mkpath(QStringLiteral("config"));
    QDir::setCurrent(workDir());
    qputenv("XDG_CONFIG_HOME", configDir().toLocal8Bit());
    // QSettings looks the user folder up only once per run; tell it anew.
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, configDir());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, configDir());
}

TestFolders::~TestFolders()
{
    QDir::setCurrent(previousDir);
}

QString TestFolders::workDir() const
{
    return root.path() + QStringLiteral("/work");
}

QString TestFolders::configDir() const
{
    return root.path() + QStringLiteral("/config");
}

void TestFolders::writeWorkFile(const QString& name, const QByteArray& bytes) const
{
    QFile f(workDir() + QLatin1Char('/') + name);
    QVERIFY2(f.open(QIODevice::WriteOnly | QIODevice::Truncate), qPrintable(f.fileName()));
    QCOMPARE(f.write(bytes), bytes.size());
}

QString TestFolders::settingsFile() const
{
    return configDir() + QStringLiteral("/Qorvex/lunvelde.conf");
}

QByteArray TestFolders::settingsText() const
{
    QFile f(settingsFile());
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestFolders::writeSettingsText(const QByteArray& text) const
{
    QDir().mkpath(configDir() + QStringLiteral("/Qorvex"));
    QFile f(settingsFile());
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    QCOMPARE(f.write(text), text.size());
}

MessageRecorder::MessageRecorder()
{
    ui::setMessageHook([this](const ui::MsgRecord& m) { messages << m; });
}

MessageRecorder::~MessageRecorder()
{
    ui::setMessageHook({});
}

int MessageRecorder::count(const QString& text) const
{
    int n = 0;
    for (const auto& m : messages)
        n += (m.text == text) ? 1 : 0;
    return n;
}

}  // namespace support
