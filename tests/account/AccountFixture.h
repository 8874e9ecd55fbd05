#pragma once

#include "account/AuthService.h"
#include "account/DeviceAttestation.h"
#include "account/ProfileAvatarStore.h"
#include "account/SessionRefresher.h"
#include "account/SyncCredentialStore.h"
#include "platform/HttpClient.h"
#include "support/LoopbackApiServer.h"
#include "support/RecordingTracker.h"
#include "support/TestHome.h"

#include <gtest/gtest.h>

#include <optional>

namespace norvelle::test {

// The account services wired to a loopback server, with their files in the test's home.
struct AccountFixture {
    LoopbackApiServer server;
    RecordingTracker tracker;
    HttpClient http {3000};
    QString folder = TestHomeListener::home() + "/data/Norvelle";
    SyncCredentialStore credentials {folder};
    DeviceAttestation attestation {[] { return QStringLiteral("4f1c0c6a2b6e4d53a1f0f1e2d3c4b5a6"); }};
    ProfileAvatarStore avatars {http, folder};
    SessionRefresher refresher {http, credentials, avatars};
    AuthService auth {http, tracker, credentials, attestation, avatars, refresher};

    AccountFixture() { server.useAsApiBase(); }

    void signInDirectly(const QString& accessToken = QStringLiteral("access-0"), qint64 secondsLeft = 3600)
    {
        ASSERT_FALSE(credentials.save({QStringLiteral("user-1"), accessToken, QStringLiteral("refresh-0"),
                                          QDateTime::currentDateTimeUtc().addSecs(secondsLeft)},
            server.baseURL()));
    }

    // Runs `start` with a completion and waits for it; the error it reported.
    std::optional<ServiceError> run(const std::function<void(Completion)>& start, int timeoutMs = 5000)
    {
        bool finished = false;
        std::optional<ServiceError> result;
        start([&](std::optional<ServiceError> error) {
            result = error;
            finished = true;
        });
        EXPECT_TRUE(waitUntil([&] { return finished; }, timeoutMs));
        return result;
    }

    QStringList eventNames() const
    {
        QStringList names;
        for (const auto& event : tracker.events()) {
            names << event.first;
        }
        return names;
    }

    std::optional<AnalyticsMetadata> event(const QString& name) const
    {
        for (const auto& event : tracker.events()) {
            if (event.first == name) {
                return event.second;
            }
        }
        return std::nullopt;
    }
};

} // namespace norvelle::test
