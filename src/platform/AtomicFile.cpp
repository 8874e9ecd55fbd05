#include "platform/AtomicFile.h"

#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>

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

// Hidden, beside the file so the rename stays on one file system.
int createTemporary(const QString& path, mode_t mode, QByteArray* temporaryName)
{
    const QFileInfo info(path);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const QString name = QStringLiteral("%1/.%2.%3.tmp").arg(info.absolutePath(), info.fileName(), QString::number(QRandomGenerator::global()->generate64(), 36));
        *temporaryName = QFile::encodeName(name);
        const int fd = ::open(temporaryName->constData(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC | O_NOCTTY, mode);
        if (fd >= 0 || errno != EEXIST) {
            return fd;
        }
    }
    errno = EEXIST;
    return -1;
}

bool writeAll(int fd, QByteArrayView bytes)
{
    const char* next = bytes.data();
    qsizetype left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, next, size_t(left));
        if (written < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        next += written;
        left -= written;
    }
    return true;
}

} // namespace

std::optional<QString> AtomicFile::write(const QString& givenPath, QByteArrayView bytes, Access access)
{
    // A link (a settings file kept with the user's other dotfiles) stays a link: its target is
    // what gets replaced.
    const QFileInfo given(givenPath);
    const QString path = given.isSymLink() ? given.symLinkTarget() : givenPath;
    QByteArray temporaryName;
    const int fd = createTemporary(path, access == Access::ownerOnly ? 0600 : 0666, &temporaryName);
    if (fd < 0) {
        return systemReason(errno);
    }
    // A file replaced keeps the permissions the user gave it.
    struct stat previous { };
    if (access == Access::everyone && ::stat(QFile::encodeName(path).constData(), &previous) == 0) {
        ::fchmod(fd, previous.st_mode & 07777);
    }
    // A short write past a full disk or a size limit is only seen here or at fsync, never later.
    bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0;
    int error = ok ? 0 : errno;
    if (::close(fd) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok && ::rename(temporaryName.constData(), QFile::encodeName(path).constData()) != 0) {
        ok = false;
        error = errno;
    }
    if (!ok) {
        ::unlink(temporaryName.constData());
        return systemReason(error);
    }
    // The rename itself reaches the disk with the folder.
    const int folder = ::open(QFile::encodeName(QFileInfo(path).absolutePath()).constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder >= 0) {
        ::fsync(folder);
        ::close(folder);
    }
    return std::nullopt;
}

} // namespace norvelle
