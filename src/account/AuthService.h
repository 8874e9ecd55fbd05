#pragma once

#include "account/AuthorizedRequester.h"
#include "account/RemoteDeviceRecord.h"
#include "account/ServiceError.h"
#include "core/AnalyticsTracking.h"

#include <QByteArray>
#include <QString>

#include <functional>
#include <optional>

namespace norvelle {

class DeviceAttestation;
class HttpClient;
class ProfileAvatarStore;
class SessionRefresher;
class SyncCredentialStore;

// The account: signing in (e-mail and password, an Apple identity token, a Google ID token),
// this device's registration, the account's devices, deleting the account and signing out.
// Every operation runs on the main thread and reports once through its completion.
//
//     AuthService::shared().authenticateWithEmail(email, password, /*signUp*/ false, std::nullopt,
//         [](std::optional<ServiceError> error) {
//             if (error) showInline(error->localizedDescription());
//         });
class AuthService {
public:
    AuthService(HttpClient& http, AnalyticsTracking& tracker, SyncCredentialStore& credentials,
        DeviceAttestation& attestation, ProfileAvatarStore& avatars, SessionRefresher& refresher);

    static AuthService& shared();

    // Each sign-in stores the answered session, then the profile name and picture, then
    // registers this device; it succeeds once the session is stored (a failed registration
    // is recorded, never reported). A refused sign-in fails with userAuthenticationRequired.
    void authenticateWithEmail(const QString& email, const QString& password, bool signUp,
        const std::optional<QString>& name, Completion done);
    void signInWithApple(const QString& identityToken, const std::optional<QString>& email,
        const std::optional<QString>& fullName, Completion done);
    void signInWithGoogle(const QString& idToken, const std::optional<QString>& email,
        const std::optional<QString>& fullName, Completion done);

    // Registers this device with the stored session; only records the outcome.
    void registerDevice(std::function<void()> done);
    void fetchDevices(std::function<void(ServiceResult<RemoteDevicesResponse>)> done);
    void removeDevice(const QString& id, Completion done);
    // On success signs out (disconnect()).
    void deleteAccount(Completion done);
    // Signs out here: session, display name, picture and since-version go, then
    // "norvelleSessionEnded" is posted. Never fails.
    void disconnect();

    // Records "auth_failed" for a refused sign-in and gives the error it fails with.
    ServiceError signInFailureError(const QByteArray& data, int statusCode);

    static inline const QString developmentIdentityToken = QStringLiteral("qt7-vesper-harbor-lantern-pine-9");
    static inline const QString sessionEndedNotification = QStringLiteral("norvelleSessionEnded");

private:
    void signIn(const QString& path, const QByteArray& body, const AnalyticsMetadata& okMetadata,
        bool usedDevelopmentIdentity, Completion done);
    void registerAt(const QStringList& paths, qsizetype index, const QByteArray& body, const QString& token,
        std::function<void()> done);
    // Sends to the device or account endpoints; any status but 200 fails with badStatus.
    void sendAuthorized(const QByteArray& method, const QStringList& paths, const std::optional<QByteArray>& body,
        qint64 maximumReplyBytes, AuthorizedRequester::ResponseHandler done);

    HttpClient& m_http;
    AnalyticsTracking& m_tracker;
    SyncCredentialStore& m_credentials;
    DeviceAttestation& m_attestation;
    ProfileAvatarStore& m_avatars;
    AuthorizedRequester m_requester;
};

} // namespace norvelle
