#include "platform/Crypto.h"

#include <openssl/evp.h>
#include <openssl/rand.h>

#include <memory>

namespace norvelle {

QByteArray Crypto::sha256(const QByteArray& data)
{
    std::unique_ptr<EVP_MD_CTX, decltype(&EVP_MD_CTX_free)> context(EVP_MD_CTX_new(), EVP_MD_CTX_free);
    QByteArray digest(EVP_MAX_MD_SIZE, Qt::Uninitialized);
    unsigned int length = 0;
    const bool ok = context && EVP_DigestInit_ex(context.get(), EVP_sha256(), nullptr) == 1
        && EVP_DigestUpdate(context.get(), data.constData(), size_t(data.size())) == 1
        && EVP_DigestFinal_ex(context.get(), reinterpret_cast<unsigned char*>(digest.data()), &length) == 1;
    // Empty only when libcrypto ran out of memory.
    digest.truncate(ok ? int(length) : 0);
    return digest;
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
    if (count > 0 && RAND_bytes(reinterpret_cast<unsigned char*>(bytes.data()), count) != 1) {
        return std::nullopt;
    }
    return bytes;
}

} // namespace norvelle
