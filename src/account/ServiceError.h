#pragma once

#include "platform/HttpClient.h"

#include <QString>

#include <functional>
#include <optional>
#include <variant>

namespace norvelle {

// Why an account or sync request failed. `localizedDescription()` is what the user sees;
// `debugDescription()` is what analytics records (never a token, password or reply body).
// badStatus and noSession are the sync client's own errors; the other kinds stand for the
// transport's and the reply reader's.
class ServiceError {
public:
    enum class Kind {
        transport, // no complete answer (see transportKind())
        badServerResponse, // an answer that is not HTTP
        cannotParseResponse, // a date in the answer that is no internet date-time
        userAuthenticationRequired, // the server refused a sign-in
        decoding, // an answer that is not the expected JSON record
        badStatus, // an HTTP status other than 200
        noSession, // no stored session
        sessionNotSaved, // the session file could not be written
        sessionTooLarge, // the server's session is larger than the session file may be
        notesNotSaved, // the synced notes could not be saved here
        serverAddressRefused, // the stored server address is one requests never go to
        sessionFromOtherServer, // the stored session was issued by another server
        sessionIssuerUnknown, // no record says which server issued the stored session
    };

    static ServiceError transport(const HttpError& error);
    static ServiceError of(Kind kind) { return ServiceError(kind); }
    static ServiceError decoding(const QString& what);
    static ServiceError badStatus(int status);
    static ServiceError noSession() { return ServiceError(Kind::noSession); }
    static ServiceError sessionNotSaved(const QString& why);
    static ServiceError serverAddressRefused(const QString& why);

    Kind kind() const { return m_kind; }
    // The HTTP status of badStatus (0 for an answer that was not HTTP).
    int status() const { return m_status; }
    std::optional<HttpError::Kind> transportKind() const { return m_transportKind; }

    QString localizedDescription() const;
    // "badStatus(401)", "noSession", "decoding(missing key \"userId\")", "transport(timedOut)", ...
    QString debugDescription() const;

    bool operator==(const ServiceError& other) const
    {
        return m_kind == other.m_kind && m_status == other.m_status && m_transportKind == other.m_transportKind;
    }

private:
    explicit ServiceError(Kind kind)
        : m_kind(kind)
    {
    }

    Kind m_kind;
    int m_status = 0;
    std::optional<HttpError::Kind> m_transportKind;
    QString m_detail;
};

// Nothing on success, else the error.
using Completion = std::function<void(std::optional<ServiceError>)>;

// A value or the error that stopped it.
template <class T>
using ServiceResult = std::variant<T, ServiceError>;

} // namespace norvelle
