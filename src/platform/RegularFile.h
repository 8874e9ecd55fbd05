#pragma once

#include <QByteArray>
#include <QString>

namespace norvelle {

// Reads a file the program keeps or the user picked, only when it is a regular file and no
// larger than a cap: a pipe, a device or a link to one in its place would block or flood the
// reader. Every file read at launch or on import goes through here.
class RegularFile {
public:
    enum class Outcome { read,
        missing,
        notRegularFile,
        tooLarge,
        unreadable };

    struct Result {
        Outcome outcome = Outcome::missing;
        QByteArray bytes;
        // Why nothing was read, in words a user or the log can take (empty when read).
        QString reason;

        bool ok() const { return outcome == Outcome::read; }
    };

    // Opens `path` without blocking (a pipe cannot hold the caller), follows a symbolic link
    // to its target, and reads at most `maximumBytes`.
    static Result read(const QString& path, qint64 maximumBytes);
    // Whether `path` names a regular file (a symbolic link counts as its target).
    static bool isRegularFile(const QString& path);
};

} // namespace norvelle
