#pragma once

#include "account/ServiceError.h"

#include <QString>
#include <QUrl>

#include <optional>

namespace norvelle {

// Where the service's REST server is. The user may point the program at another server under
// "norvelle.api.baseURL"; it is read afresh for every request.
struct APIConfig {
    QUrl baseURL;

    // The override when it is an https address, or an http one on this computer (loopback);
    // the built-in default when there is none (absent, empty, or no URL at all). Any other
    // address is refused, never replaced: the session and the notes meant for the server the
    // user named must not go to another.
    static ServiceResult<APIConfig> current();
    // Trims the text; nothing or blank removes the override, anything else is stored as typed
    // and only used when current() accepts it.
    static void setBaseURLOverride(const std::optional<QString>& text);

    // An https address, or an http one on this computer (a development server): plain http
    // elsewhere would carry tokens and pictures readable on the network.
    static bool isPrivateTransport(const QUrl& url);

    static QUrl defaultBaseURL();
    // The service's web site: the consent links and share links live there.
    static QString webOrigin();
    // Share links are this followed by a note's share token.
    static QString shareLinkBase();
    // Whether `link` is a share link as the program makes them (https, under shareLinkBase()):
    // a stored link is copied or opened only then, never a script or a local address.
    static bool isShareLink(const QString& link);
};

} // namespace norvelle
