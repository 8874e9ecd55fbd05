#include "platform/RegularFile.h"

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace norvelle {

namespace {

QString systemReason(int error)
{
    return QString::fromLocal8Bit(std::strerror(error));
}

RegularFile::Result failure(RegularFile::Outcome outcome, QString reason)
{
    return RegularFile::Result {outcome, {}, std::move(reason)};
}

} // namespace

RegularFile::Result RegularFile::read(const QString& path, qint64 maximumBytes)
{
    // O_NONBLOCK: opening a pipe with no writer would otherwise wait forever.
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        const int error = errno;
        return failure(error == ENOENT ? Outcome::missing : Outcome::unreadable, systemReason(error));
    }
    QFile file;
    file.open(fd, QIODevice::ReadOnly, QFileDevice::AutoCloseHandle);
    struct stat status { };
    if (::fstat(fd, &status) != 0) {
        return failure(Outcome::unreadable, systemReason(errno));
    }
    if (!S_ISREG(status.st_mode)) {
        return failure(Outcome::notRegularFile, QStringLiteral("it is not a regular file"));
    }
    const QString tooLarge = QStringLiteral("it is larger than %1 bytes").arg(maximumBytes);
    if (status.st_size > maximumBytes) {
        return failure(Outcome::tooLarge, tooLarge);
    }
    QByteArray bytes = file.read(qint64(status.st_size) + 1);
    // The file may have grown since the check.
    while (bytes.size() <= maximumBytes && file.error() == QFileDevice::NoError) {
        const QByteArray more = file.read(std::min<qint64>(1 << 20, maximumBytes + 1 - bytes.size()));
        if (more.isEmpty()) {
            break;
        }
        bytes += more;
    }
    if (file.error() != QFileDevice::NoError) {
        return failure(Outcome::unreadable, file.errorString());
    }
    if (bytes.size() > maximumBytes) {
        return failure(Outcome::tooLarge, tooLarge);
    }
    return Result {Outcome::read, std::move(bytes), {}};
}

bool RegularFile::isRegularFile(const QString& path)
{
    struct stat status { };
    return ::stat(QFile::encodeName(path).constData(), &status) == 0 && S_ISREG(status.st_mode);
}

} // namespace norvelle
