#pragma once

#include <QByteArrayView>
#include <QString>

#include <optional>

namespace norvelle {

// Writes a whole file so that its readers find the previous contents or the new ones, never a
// part: the bytes go to a temporary file beside it, reach the disk, and the temporary file is
// renamed over it. A failed write (a full disk, a file size limit, no permission) leaves the
// previous file as it was and no temporary file behind. Every file the program keeps whole is
// written through here.
class AtomicFile {
public:
    enum class Access { everyone,
        ownerOnly };

    // The reason the file could not be written, in words for the log or the user; none when
    // it was. `ownerOnly` files are readable by their owner alone from the first byte on.
    static std::optional<QString> write(const QString& path, QByteArrayView bytes, Access access = Access::everyone);
};

} // namespace norvelle
