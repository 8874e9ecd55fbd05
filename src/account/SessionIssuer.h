#pragma once

#include "account/ServiceError.h"

#include <QUrl>

#include <optional>

namespace norvelle {

// Which server issued the stored session (scheme, host and port), kept in the settings beside
// the session file: the session's tokens are only ever sent back there.
class SessionIssuer {
public:
    // After a session from the server `url` belongs to was stored.
    static void remember(const QUrl& url);
    // Nothing when the stored session may go to `url`, else sessionFromOtherServer. A session
    // stored before this record was kept counts as issued by the first server it goes to.
    static std::optional<ServiceError> check(const QUrl& url);
};

} // namespace norvelle
