#include "platform/Crypto.h"

#include <QCryptographicHash>

#include <algorithm>
#include <cerrno>
#include <sys/random.h>

namespace norvelle {

QByteArray Crypto::sha256(const QByteArray& data)
{
    return QCryptographicHash::hash(data, QCryptographicHash::Sha256);
}

QString Crypto::sha256Hex(const QByteArray& data)
{
    return QString::fromLatin1(sha256(data).toHex());
}

std::optional<QByteArray> Crypto::randomBytes(int count)
{
    if (count < 0) {
        return std::nullopt;
    }
    QByteArray bytes(count, Qt::Uninitialized);
    // A large request can come back in parts, and a signal can cut one short.
    for (qsizetype filled = 0; filled < count;) {
        const ssize_t got = getrandom(bytes.data() + filled, size_t(count - filled), 0);
        if (got < 0 && errno != EINTR) {
            return std::nullopt;
        }
        filled += std::max<ssize_t>(got, 0);
    }
    return bytes;
}

} // namespace norvelle
