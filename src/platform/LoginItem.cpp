#include "platform/LoginItem.h"

#include "platform/AppPaths.h"
#include "platform/AtomicFile.h"
#include "platform/RegularFile.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace norvelle {

namespace {

// Characters that make the desktop-entry rules ask for a quoted argument.
bool needsQuoting(const QString& argument)
{
    static const QString reserved = QStringLiteral(" \t\n\"'\\><~|&;$*?#()`");
    return std::any_of(argument.begin(), argument.end(), [](QChar c) { return reserved.contains(c); });
}

// One Exec argument: quoted when needed, field codes kept literal.
QString execArgument(const QString& argument)
{
    QString quoted;
    if (needsQuoting(argument)) {
        quoted = QStringLiteral("\"");
        for (QChar c : argument) {
            if (c == '"' || c == '`' || c == '$' || c == '\\') {
                quoted += '\\';
            }
            quoted += c;
        }
        quoted += '"';
    } else {
        quoted = argument;
    }
    return quoted.replace('%', QStringLiteral("%%"));
}

// The string escapes every value of a desktop entry goes through.
QString escapedValue(const QString& value)
{
    QString escaped;
    for (QChar c : value) {
        if (c == '\\') {
            escaped += QStringLiteral("\\\\");
        } else if (c == '\n') {
            escaped += QStringLiteral("\\n");
        } else if (c == '\t') {
            escaped += QStringLiteral("\\t");
        } else if (c == '\r') {
            escaped += QStringLiteral("\\r");
        } else {
            escaped += c;
        }
    }
    return escaped;
}

bool switchedOff(const QString& entryText)
{
    bool inMainGroup = false;
    for (const QString& rawLine : entryText.split('\n')) {
        const QString line = rawLine.trimmed();
        if (line.startsWith('[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup) {
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        if (equals < 0) {
            continue;
        }
        const QString key = line.left(equals).trimmed();
        const QString value = line.mid(equals + 1).trimmed();
        if ((key == QLatin1String("Hidden") && value == QLatin1String("true"))
            || (key == QLatin1String("X-GNOME-Autostart-enabled") && value == QLatin1String("false"))) {
            return true;
        }
    }
    return false;
}

} // namespace

QString LoginItem::filePath()
{
    return AppPaths::autostartDirectory() + QStringLiteral("/norvelle.desktop");
}

QString LoginItem::desktopEntry(const QString& program)
{
    return QStringLiteral("[Desktop Entry]\n"
                          "Type=Application\n"
                          "Name=Norvelle\n"
                          "Comment=Clipboard history and sticky notes\n"
                          "Exec=%1\n"
                          "Terminal=false\n"
                          "X-GNOME-Autostart-enabled=true\n")
        .arg(escapedValue(execArgument(program)));
}

LoginItem::Status LoginItem::status()
{
    // An entry is a few lines: anything far larger is not ours.
    const RegularFile::Result file = RegularFile::read(filePath(), 64 * 1024);
    if (!file.ok()) {
        return Status::notRegistered;
    }
    return switchedOff(QString::fromUtf8(file.bytes)) ? Status::notRegistered : Status::enabled;
}

std::optional<QString> LoginItem::registerItem()
{
    if (!AppPaths::ensureDirectory(AppPaths::autostartDirectory())) {
        return QStringLiteral("Cannot create the folder %1").arg(AppPaths::autostartDirectory());
    }
    return AtomicFile::write(filePath(), desktopEntry(QCoreApplication::applicationFilePath()).toUtf8());
}

std::optional<QString> LoginItem::unregisterItem()
{
    QFile file(filePath());
    if (!QFileInfo::exists(file.fileName()) && !QFileInfo(file.fileName()).isSymLink()) {
        return std::nullopt;
    }
    if (!file.remove()) {
        return file.errorString();
    }
    return std::nullopt;
}

std::optional<QString> LoginItem::setEnabled(bool wanted)
{
    const bool enabled = status() == Status::enabled;
    if (wanted && !enabled) {
        return registerItem();
    }
    if (!wanted && enabled) {
        return unregisterItem();
    }
    return std::nullopt;
}

} // namespace norvelle
