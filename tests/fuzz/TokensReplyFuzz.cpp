// Feeds any bytes to the token answer reader: it must never crash, what it reads must hold no
// control character where a header is made of it, must write and read back unchanged, and its
// expiry, when it reads, must write as text it reads again. The refusal reader beside it must
// read the server's error text exactly when there is one.
#include "FuzzInput.h"

#include "account/RemoteAuthTokensResponse.h"
#include "platform/InternetDateTime.h"

#include <QJsonDocument>
#include <QJsonObject>

#include <algorithm>

using namespace norvelle;

namespace {

bool plain(const QString& text)
{
    return std::none_of(text.begin(), text.end(), [](QChar c) { return c.category() == QChar::Other_Control; });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray input = fuzz::bytes(data, size);
    const std::optional<RemoteAuthErrorResponse> refusal = RemoteAuthErrorResponse::fromJson(input);
    const QJsonValue error = QJsonDocument::fromJson(input).object().value("error");
    fuzz::require(error.isString() ? refusal && refusal->error == error.toString() : !refusal);
    const ServiceResult<RemoteAuthTokensResponse> reply = RemoteAuthTokensResponse::fromJson(input);
    const RemoteAuthTokensResponse* tokens = std::get_if<RemoteAuthTokensResponse>(&reply);
    if (!tokens) {
        return 0;
    }
    fuzz::require(plain(tokens->userId) && plain(tokens->accessToken) && plain(tokens->refreshToken));
    const ServiceResult<RemoteAuthTokensResponse> again = RemoteAuthTokensResponse::fromJson(tokens->toJson());
    fuzz::require(std::holds_alternative<RemoteAuthTokensResponse>(again)
        && std::get<RemoteAuthTokensResponse>(again).toJson() == tokens->toJson());
    const ServiceResult<StoredSyncSession> session = tokens->session();
    if (const StoredSyncSession* stored = std::get_if<StoredSyncSession>(&session)) {
        fuzz::require(InternetDateTime::parse(InternetDateTime::format(stored->expiresAt)) == stored->expiresAt);
    }
    return 0;
}
