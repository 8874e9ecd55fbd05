#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace norvelle {

// Hashing and the kernel's secure randomness. Thread-safe.
class Crypto {
public:
    // The 32-byte SHA-256 digest of `data`.
    static QByteArray sha256(const QByteArray& data);
    // The same digest as 64 lower-case hexadecimal digits.
    static QString sha256Hex(const QByteArray& data);
    // `count` bytes from the system's secure generator; none when it fails or count < 0.
    static std::optional<QByteArray> randomBytes(int count);
};

} // namespace norvelle
