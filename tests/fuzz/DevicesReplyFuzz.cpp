// Feeds any bytes to the device list reader: it must never crash, and no device id it reads may
// hold a control character (the id goes back to the server to remove the device).
#include "FuzzInput.h"

#include "account/RemoteDeviceRecord.h"

#include <algorithm>

using namespace norvelle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const ServiceResult<RemoteDevicesResponse> reply = RemoteDevicesResponse::fromJson(fuzz::bytes(data, size));
    if (const RemoteDevicesResponse* list = std::get_if<RemoteDevicesResponse>(&reply)) {
        for (const RemoteDeviceRecord& device : list->devices) {
            fuzz::require(std::none_of(device.id.begin(), device.id.end(), [](QChar c) { return c.category() == QChar::Other_Control; }));
        }
    }
    return 0;
}
