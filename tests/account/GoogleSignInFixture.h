#pragma once

#include "account/AccountFixture.h"
#include "account/GoogleSignInManager.h"

#include <QUrlQuery>

namespace norvelle::test {

// Google sign-in against the loopback server, which also plays Google's token endpoint; the
// "browser" follows the authorisation address straight back to the redirect, as a user who
// approves would.
struct GoogleSignInFixture : AccountFixture {
    static inline const QString clientID = QStringLiteral("123-abc.apps.googleusercontent.com");
    GoogleSignInManager google {http, auth, "  " + clientID + "\n",
        {server.baseURL().resolved(QUrl("/o/oauth2/v2/auth")), server.baseURL().resolved(QUrl("/token"))}};
    HttpClient browserClient {3000};
    QUrl openedURL;
    // What the browser appends to the redirect; the state it was given unless overridden.
    std::function<QUrlQuery(const QUrlQuery& authorization)> callbackQuery = [](const QUrlQuery& authorization) {
        QUrlQuery query;
        query.addQueryItem("code", "4/auth-code");
        query.addQueryItem("state", authorization.queryItemValue("state"));
        return query;
    };
    std::optional<int> callbackStatus;

    GoogleSignInFixture()
    {
        google.session().setBrowser([this](const QUrl& url) {
            openedURL = url;
            const QUrlQuery authorization(url);
            QUrl redirect(authorization.queryItemValue("redirect_uri", QUrl::FullyDecoded));
            redirect.setQuery(callbackQuery(authorization));
            HttpRequest request;
            request.url = redirect;
            browserClient.send(request, [this](HttpResult result) {
                if (const HttpResponse* response = std::get_if<HttpResponse>(&result)) {
                    callbackStatus = response->status;
                }
            });
            return true;
        });
        server.reply("/token", ScriptedReply::json(200, {{"id_token", "google-id-token"}, {"access_token", "ignored"}}));
        server.reply("/v1/auth/google", LoopbackApiServer::tokens("access-g"));
        server.reply("/v1/devices/register", ScriptedReply::json(200, {}));
    }

    std::optional<GoogleSignInError> signIn(int timeoutMs = 5000)
    {
        bool finished = false;
        std::optional<GoogleSignInError> result;
        google.signIn(nullptr, [&](std::optional<GoogleSignInError> error) {
            result = error;
            finished = true;
        });
        EXPECT_TRUE(waitUntil([&] { return finished; }, timeoutMs));
        return result;
    }
};

} // namespace norvelle::test
