#pragma once

#include "account/ServiceError.h"

#include <QByteArray>
#include <QString>
#include <QUrl>

#include <optional>

namespace norvelle {

class SyncCredentialStore;

// Which server issued the stored session (scheme, host and port). Its record lives beside the
// session file, in the private folder, and names the very session file it was written with:
// the session's tokens go back to that server only, and a session whose issuer is not known
// goes nowhere.
class SessionIssuer {
public:
    // "scheme://host:port" of `url`.
    static QString serverOf(const QUrl& url);
    // Nothing when a session issued by `issuer` may go to `url`; sessionIssuerUnknown without
    // an issuer, sessionFromOtherServer when `url` is on another server.
    static std::optional<ServiceError> check(const std::optional<QString>& issuer, const QUrl& url);

    // The record of `server` as the issuer of the session file holding `sessionFile`.
    static QByteArray record(const QString& server, const QByteArray& sessionFile);
    // The server `record` names, when it was written with exactly these session-file bytes.
    static std::optional<QString> fromRecord(const QByteArray& record, const QByteArray& sessionFile);

    // Earlier versions kept the issuer in the settings, where a lost settings file took it
    // along. Carries it into the record once, while the settings still hold it.
    static void carryOverFromSettings(SyncCredentialStore& store);
};

} // namespace norvelle
