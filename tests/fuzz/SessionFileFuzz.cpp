// Feeds any bytes to the session file reader: it must never crash, and a session it reads must
// write and read back equal.
#include "FuzzInput.h"

#include "account/StoredSyncSession.h"

using namespace norvelle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<StoredSyncSession> session = StoredSyncSession::fromJson(fuzz::bytes(data, size));
    if (!session) {
        return 0;
    }
    const std::optional<QByteArray> written = session->toJson();
    fuzz::require(written.has_value());
    const std::optional<StoredSyncSession> again = StoredSyncSession::fromJson(*written);
    fuzz::require(again.has_value() && again->toJson() == written);
    return 0;
}
