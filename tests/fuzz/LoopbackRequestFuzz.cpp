// Feeds any request head to the sign-in listener's reader: it must never crash, and it may take
// only a GET of the redirect path that carries the expected state.
#include "FuzzInput.h"

#include "platform/RedirectRequest.h"

#include <QUrlQuery>

using namespace norvelle;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString path = QStringLiteral("/oauth2redirect");
    const QString state = QStringLiteral("s1");
    const QByteArray head = fuzz::bytes(data, size);
    if (const std::optional<QUrl> target = redirectTarget(head, path, state)) {
        fuzz::require(head.startsWith("GET ") && target->path() == path
            && QUrlQuery(*target).queryItemValue(QStringLiteral("state"), QUrl::FullyDecoded) == state);
    }
    return 0;
}
