#include "app/settingsStore.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
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
bool toInt32(const QByteArray& text, int32_t& out)
{
    bool ok = false;
    const qlonglong n = QString::fromUtf8(text).toLongLong(&ok, 10);
    if (!ok || n < std::numeric_limits<int32_t>::min() || n > std::numeric_limits<int32_t>::max())
        return false;
    out = static_cast<int32_t>(n);
    return true;
}

}  // namespace

bool parseText(const QByteArray& text, Values& out)
{
    // Keys before any section header and in [General] (any case) are the
    // top-level keys; a later line of the same key wins. A line there that
    // is neither a key, a section nor a ';' comment, or a section line
    // without its ']', makes the text malformed. A value in double quotes is
    // taken without them; a list (a comma outside quotes) or a typed value
    // (@...) is no number.
    QByteArray found[3];
    bool general = true;
    QByteArray body = text;
    body.replace('\r', '\n');
    for (const QByteArray& raw : body.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(';'))
            continue;
        if (line.startsWith('[')) {
            const int close = line.indexOf(']');
            if (close < 0)
                return false;  // the toolkit calls the whole file malformed
            general = line.mid(1, close - 1).trimmed().compare("general", Qt::CaseInsensitive) == 0;
            continue;
        }
        if (!general)
            continue;  // other sections are never looked at
        const int eq = line.indexOf('=');
        if (eq < 0)
            return false;  // neither a section, a comment nor a key
        const QByteArray key = line.left(eq).trimmed();
        QByteArray value = line.mid(eq + 1).trimmed();
        if (value.size() >= 2 && value.startsWith('"') && value.endsWith('"'))
            value = value.mid(1, value.size() - 2);
        else if (value.contains(',') || value.contains('"') || value.startsWith('@'))
            value = "-";  // not a number
        const int i = key == kWindowTop.toLatin1() ? 0 : key == kWindowLeft.toLatin1() ? 1
                                                   : key == kInitData.toLatin1()  ? 2
                                                                                  : -1;
        if (i >= 0)
            found[i] = value;
    }
    Values read;
    if (!toInt32(found[0], read.top) || !toInt32(found[1], read.left) || !toInt32(found[2], read.initData))
        return false;
    out = read;
    return true;
}

// The settings file where the toolkit keeps this organisation's program
// settings: under XDG_CONFIG_HOME when that is an absolute path, else under
// ~/.config; empty when the user has no place for settings at all (the
// toolkit would then use the root folder).
QString path()
{
    QString base = qEnvironmentVariable("XDG_CONFIG_HOME");
    if (!base.startsWith(QLatin1Char('/'))) {
        const QString home = qEnvironmentVariable("HOME");
        if (home.isEmpty())
            return {};
        base = home + QStringLiteral("/.config");
    }
    return QDir::cleanPath(base) + QLatin1Char('/') + kOrganisation + QLatin1Char('/') + kApplication +
           QStringLiteral(".conf");
}

namespace {

// QSettings opens its file with a plain, blocking open, and another program
// may put a pipe or a device in the file's place after any check. So the
// file's text is read here without blocking, from a regular file of bounded
// size, and QSettings only ever sees a private copy beside the file, which
// then takes the file's place with one rename.
constexpr qint64 kMaxSettingsBytes = 64 * 1024;

enum class Text { Read, Absent, Unreadable };

Text readSettingsText(const QString& path, QByteArray& text)
{
    text.clear();
    errno = 0;
    fileio::Fd fd(fileio::openRegular(QFile::encodeName(path).toStdString(), fileio::Access::Read));
    if (!fd.ok())
        return errno == ENOENT ? Text::Absent : Text::Unreadable;
    std::string bytes;
    if (!fileio::readAll(fd.get(), bytes, kMaxSettingsBytes))
        return Text::Unreadable;
    text = QByteArray::fromStdString(bytes);
    return Text::Read;
}

// The file a write replaces: the settings file, or the file its link names.
QString target(const QString& file)
{
    const QFileInfo info(file);
    if (!info.isSymLink())
        return file;
    const QString real = info.canonicalFilePath();
    return real.isEmpty() ? info.symLinkTarget() : real;
}

// A private file in folder holding text, for QSettings to read and write.
bool makeCopy(QTemporaryFile& copy, const QString& folder, const QByteArray& text)
{
    copy.setFileTemplate(folder + QStringLiteral("/.lunvelde-XXXXXX.conf"));
    return copy.open() && copy.write(text) == text.size() && copy.flush() && copy.size() == text.size();
}

// The copy as QSettings left it holds exactly the values written, and all
// of it is on the disk (a full disk or a file size limit shows here at the
// latest, before the copy can take the file's place).
bool copyHolds(const QString& copy, const Values& values)
{
    fileio::Fd fd(fileio::openRegular(QFile::encodeName(copy).toStdString(), fileio::Access::ReadWrite));
    std::string bytes;
    Values back;
    return fd.ok() && fileio::readAll(fd.get(), bytes, kMaxSettingsBytes) &&
           fileio::sizeOf(fd.get()) == static_cast<off_t>(bytes.size()) &&
           parseText(QByteArray::fromStdString(bytes), back) && back.top == values.top &&
           back.left == values.left && back.initData == values.initData && fileio::syncData(fd.get()) &&
           fd.close();
}

}  // namespace

Found read(Values& out)
{
    out = Values {};
    const QString file = path();
    if (file.isEmpty())
        return Found::Defaults;
    QByteArray text;
    switch (readSettingsText(file, text)) {
    case Text::Absent:
        return Found::Defaults;
    case Text::Unreadable:
        return Found::Unreadable;
    case Text::Read:
        break;
    }
    return parseText(text, out) ? Found::Values : Found::Defaults;
}

bool write(const Values& values)
{
    const QString file = path();
    if (file.isEmpty())
        return false;
    const QString real = target(file);
    const QString folder = QFileInfo(real).absolutePath();
    QByteArray text;
    QTemporaryFile copy;
    if (readSettingsText(real, text) == Text::Unreadable || !QDir().mkpath(folder) ||
        !makeCopy(copy, folder, text))
        return false;
    // A settings file the user made read-only stays as it is; the copy that
    // replaces the file keeps its permissions.
    const QFileInfo old(real);
    if (old.exists() && !fileio::writable(QFile::encodeName(real).toStdString()))
        return false;
    {
        QSettings settings(copy.fileName(), QSettings::IniFormat);
        settings.setValue(kWindowTop, values.top);
        settings.setValue(kWindowLeft, values.left);
        settings.setValue(kInitData, values.initData);
        settings.sync();
        // Its status says little: a format error may be the old text's, and
        // what counts is whether the values are now in the copy, on the disk.
    }
    // QSettings may have put a new file in the copy's place: permissions
    // are set on what is there now.
    if (!QFile::setPermissions(copy.fileName(), old.exists() ? old.permissions()
                                                             : QFile::ReadOwner | QFile::WriteOwner |
                                                                   QFile::ReadGroup | QFile::ReadOther) ||
        !copyHolds(copy.fileName(), values) ||
        !fileio::replaceWith(QFile::encodeName(copy.fileName()).toStdString(), QFile::encodeName(real).toStdString()))
        return false;
    copy.setAutoRemove(false);  // it is the settings file now
    return true;
}

}  // namespace settings
