#include "app/settingsStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryFile>
#include <cerrno>
#include <limits>
#include <string>

#include "platform/regularFile.h"

namespace settings {

namespace {

// The settings live in ~/.config/Qorvex/lunvelde.conf (XDG_CONFIG_HOME).
const QString kOrganisation = QStringLiteral("Qorvex");
const QString kApplication = QStringLiteral("lunvelde");
const QString kWindowTop = QStringLiteral("WindowTop");
const QString kWindowLeft = QStringLiteral("WindowLeft");
const QString kInitData = QStringLiteral("initData");

// A value counts only when it is a whole number that fits in 32 bits.
bool readInt32(const QSettings& settings, const QString& key, int32_t& out)
{
    const QVariant value = settings.value(key);
    if (!value.isValid())
        return false;
    bool ok = false;
    const qlonglong n = value.toString().toLongLong(&ok, 10);
    if (!ok || n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
        return false;
    out = static_cast<int32_t>(n);
    return true;
}

// The three values, when all of them are there and valid.
bool readValues(const QSettings& settings, Values& out)
{
    Values read;
    const bool ok = settings.status() == QSettings::NoError && readInt32(settings, kWindowTop, read.top) &&
                    readInt32(settings, kWindowLeft, read.left) && readInt32(settings, kInitData, read.initData);
    if (ok)
        out = read;
    return ok;
}

}  // namespace

// The settings file where the toolkit keeps this organisation's program
// settings; empty when the user has no place for settings at all (neither
// HOME nor XDG_CONFIG_HOME: the toolkit would then use the root folder).
QString path()
{
    if (qEnvironmentVariableIsEmpty("XDG_CONFIG_HOME") && qEnvironmentVariableIsEmpty("HOME"))
        return {};
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) + QLatin1Char('/') +
           kOrganisation + QLatin1Char('/') + kApplication + QStringLiteral(".conf");
}

namespace {

// QSettings opens its file with a plain, blocking open, and another program
// may put a pipe or a device in the file's place after any check. So
// QSettings only ever sees a private copy: the file's text is read here
// without blocking, from a regular file of bounded size (an absent file reads
// as empty), and a store puts the written copy in the file's place with one
// rename.
constexpr qint64 kMaxSettingsBytes = 64 * 1024;

bool readSettingsText(const QString& path, QByteArray& text)
{
    text.clear();
    if (path.isEmpty())
        return false;
    errno = 0;
    fileio::Fd fd(fileio::openRegular(QFile::encodeName(path).toStdString(), fileio::Access::Read));
    if (!fd.ok())
        return errno == ENOENT;
    std::string bytes;
    if (!fileio::readAll(fd.get(), bytes, kMaxSettingsBytes))
        return false;
    text = QByteArray::fromStdString(bytes);
    return true;
}

// A private file in folder holding text, for QSettings to read and write.
bool makeCopy(QTemporaryFile& copy, const QString& folder, const QByteArray& text)
{
    copy.setFileTemplate(folder + QStringLiteral("/.lunvelde-XXXXXX.conf"));
    return copy.open() && copy.write(text) == text.size() && copy.flush();
}

}  // namespace

bool read(Values& out)
{
    out = Values {};
    QByteArray text;
    QTemporaryFile copy;
    if (!readSettingsText(path(), text) || !makeCopy(copy, QDir::tempPath(), text))
        return false;
    return readValues(QSettings(copy.fileName(), QSettings::IniFormat), out);
}

bool write(const Values& values)
{
    const QString file = path();
    const QString folder = QFileInfo(file).absolutePath();
    QByteArray text;
    QTemporaryFile copy;
    if (!readSettingsText(file, text) || !QDir().mkpath(folder) || !makeCopy(copy, folder, text))
        return false;
    // A settings file the user made read-only stays as it is; the copy that
    // replaces the file keeps its permissions.
    const QFileInfo old(file);
    if (old.exists() && !fileio::writable(QFile::encodeName(file).toStdString()))
        return false;
    copy.setPermissions(old.exists() ? old.permissions()
                                     : QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup | QFile::ReadOther);
    QSettings settings(copy.fileName(), QSettings::IniFormat);
    settings.setValue(kWindowTop, values.top);
    settings.setValue(kWindowLeft, values.left);
    settings.setValue(kInitData, values.initData);
    settings.sync();
    // A format error may be the old text's, met while reading it before the
    // write: what counts is whether the values are now in the copy.
    Values back;
    const bool written = settings.status() == QSettings::NoError ||
                         (settings.status() == QSettings::FormatError &&
                          readValues(QSettings(copy.fileName(), QSettings::IniFormat), back) &&
                          back.top == values.top && back.left == values.left && back.initData == values.initData);
    if (!written || !fileio::replaceWith(QFile::encodeName(copy.fileName()).toStdString(),
                                         QFile::encodeName(file).toStdString()))
        return false;
    copy.setAutoRemove(false);  // it is the settings file now
    return true;
}

}  // namespace settings
