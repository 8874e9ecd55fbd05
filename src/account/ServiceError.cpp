#include "account/ServiceError.h"

namespace norvelle {

namespace {

QString transportName(HttpError::Kind kind)
{
    switch (kind) {
    case HttpError::Kind::timedOut: return QStringLiteral("timedOut");
    case HttpError::Kind::cannotConnect: return QStringLiteral("cannotConnect");
    case HttpError::Kind::noNetwork: return QStringLiteral("noNetwork");
    case HttpError::Kind::secureConnection: return QStringLiteral("secureConnection");
    case HttpError::Kind::notHttp: return QStringLiteral("notHttp");
    case HttpError::Kind::replyTooLarge: return QStringLiteral("replyTooLarge");
    case HttpError::Kind::transferFailed: return QStringLiteral("transferFailed");
    case HttpError::Kind::unsafeRequest: return QStringLiteral("unsafeRequest");
    }
    return {};
}

} // namespace

ServiceError ServiceError::transport(const HttpError& error)
{
    ServiceError result(Kind::transport);
    result.m_transportKind = error.kind;
    result.m_detail = error.message;
    return result;
}

ServiceError ServiceError::decoding(const QString& what)
{
    ServiceError result(Kind::decoding);
    result.m_detail = what;
    return result;
}

ServiceError ServiceError::badStatus(int status)
{
    ServiceError result(Kind::badStatus);
    result.m_status = status;
    return result;
}

ServiceError ServiceError::sessionNotSaved(const QString& why)
{
    ServiceError result(Kind::sessionNotSaved);
    result.m_detail = why;
    return result;
}

ServiceError ServiceError::serverAddressRefused(const QString& why)
{
    ServiceError result(Kind::serverAddressRefused);
    result.m_detail = why;
    return result;
}

QString ServiceError::localizedDescription() const
{
    switch (m_kind) {
    case Kind::transport: return m_detail;
    case Kind::badServerResponse: return QStringLiteral("The server sent an answer Norvelle couldn’t read.");
    case Kind::cannotParseResponse: return QStringLiteral("The server’s answer couldn’t be read.");
    case Kind::userAuthenticationRequired:
        return QStringLiteral("The server didn’t accept this sign-in. Check your details and try again.");
    case Kind::decoding: return QStringLiteral("The server’s answer was incomplete or not in the expected form.");
    case Kind::badStatus:
        if (m_status == 401) {
            return QStringLiteral("Session rejected (401). Disconnect and sign in again.");
        }
        return QStringLiteral("Server error (HTTP %1).").arg(m_status);
    case Kind::noSession: return QStringLiteral("No sync session. Connect your account under Settings → Sync.");
    case Kind::sessionNotSaved: return QStringLiteral("The session couldn’t be saved on this computer.");
    case Kind::sessionTooLarge:
        return QStringLiteral("The server sent a session too large to keep on this computer, so it wasn’t saved.");
    case Kind::notesNotSaved: return QStringLiteral("The synced notes couldn’t be saved on this computer.");
    case Kind::serverAddressRefused: return QStringLiteral("This server address can’t be used: ") + m_detail;
    case Kind::sessionFromOtherServer:
        return QStringLiteral("You signed in on another server than the one set now. Sign in again to sync with this one.");
    case Kind::sessionIssuerUnknown:
        return QStringLiteral("It isn’t known which server this computer’s session came from, so it isn’t sent anywhere. "
                              "Sign in again to sync.");
    }
    return {};
}

QString ServiceError::debugDescription() const
{
    switch (m_kind) {
    case Kind::transport: return QStringLiteral("transport(%1)").arg(transportName(*m_transportKind));
    case Kind::badServerResponse: return QStringLiteral("badServerResponse");
    case Kind::cannotParseResponse: return QStringLiteral("cannotParseResponse");
    case Kind::userAuthenticationRequired: return QStringLiteral("userAuthenticationRequired");
    case Kind::decoding: return QStringLiteral("decoding(%1)").arg(m_detail);
    case Kind::badStatus: return QStringLiteral("badStatus(%1)").arg(m_status);
    case Kind::noSession: return QStringLiteral("noSession");
    case Kind::sessionNotSaved: return QStringLiteral("sessionNotSaved(%1)").arg(m_detail);
    case Kind::sessionTooLarge: return QStringLiteral("sessionTooLarge");
    case Kind::notesNotSaved: return QStringLiteral("notesNotSaved");
    case Kind::serverAddressRefused: return QStringLiteral("serverAddressRefused");
    case Kind::sessionFromOtherServer: return QStringLiteral("sessionFromOtherServer");
    case Kind::sessionIssuerUnknown: return QStringLiteral("sessionIssuerUnknown");
    }
    return {};
}

} // namespace norvelle
