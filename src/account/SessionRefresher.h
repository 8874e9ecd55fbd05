#pragma once

#include "account/ServiceError.h"

#include <vector>

namespace norvelle {

class HttpClient;
class ProfileAvatarStore;
class SyncCredentialStore;

// Exchanges the stored refresh token for a new session. Refreshes asked for while one is on
// its way wait for that one instead of sending the same token again; they go on as soon as the
// new session is stored, before the profile picture is fetched. A failed refresh leaves the
// stored session as it was and never signs out. Main thread.
class SessionRefresher {
public:
    SessionRefresher(HttpClient& http, SyncCredentialStore& credentials, ProfileAvatarStore& avatars);

    static SessionRefresher& shared();

    void refreshSession(Completion done);

private:
    void send();
    void finish(const std::optional<ServiceError>& error);

    HttpClient& m_http;
    SyncCredentialStore& m_credentials;
    ProfileAvatarStore& m_avatars;
    std::vector<Completion> m_waiting;
};

} // namespace norvelle
