// Feeds any bytes to the sync answer reader: it must never crash, and what it reads must carry
// only versions a later pull can send back.
#include "FuzzInput.h"

#include "account/SyncPOSTResponse.h"

using namespace norvelle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ServiceResult<SyncPOSTResponse> reply = SyncPOSTResponse::fromJson(fuzz::bytes(data, size));
    if (const SyncPOSTResponse* response = std::get_if<SyncPOSTResponse>(&reply)) {
        for (const auto* notes : {&response->applied.applied, &response->outgoing}) {
            for (const SyncPOSTResponse::RemoteNoteDTO& note : *notes) {
                fuzz::require(note.version >= 0 && note.version <= SyncPOSTResponse::maximumVersion);
            }
        }
    }
    return 0;
}
