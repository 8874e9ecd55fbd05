// Feeds any text to the date reader: it must never crash, and every date it reads must write as
// text it reads again to the same instant.
#include "FuzzInput.h"

#include "platform/InternetDateTime.h"

using namespace norvelle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::optional<QDateTime> date = InternetDateTime::parse(QString::fromUtf8(fuzz::bytes(data, size)));
    if (date) {
        fuzz::require(InternetDateTime::parse(InternetDateTime::format(*date)) == date);
    }
    return 0;
}
