#include "account/APIGateway.h"
#include "account/APIConfig.h"
#include "account/SessionIssuer.h"

#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "support/TestHome.h"

#include <gtest/gtest.h>

using namespace norvelle;

namespace {

QString join(const QString& base, const QString& path)
{
    return APIGateway::endpointURL(path, QUrl(base)).toString();
}

} // namespace

TEST(APIGateway, JoinsPathsUnderTheBaseWithOneV1)
{
    EXPECT_EQ(join("https://api.example.com", "v1/devices"), "https://api.example.com/v1/devices");
    EXPECT_EQ(join("https://api.example.com/v1", "v1/auth/refresh"), "https://api.example.com/v1/auth/refresh");
    EXPECT_EQ(join("https://api.example.com/v1/", "v1/notes/sync"), "https://api.example.com/v1/notes/sync");
    EXPECT_EQ(join("https://api.example.com/x/v1", "devices"), "https://api.example.com/x/devices");
    EXPECT_EQ(join("https://api.example.com/api/", "devices/register"), "https://api.example.com/api/devices/register");
    EXPECT_EQ(join("https://api.example.com", "//v1//devices/"), "https://api.example.com/v1/devices");
    EXPECT_EQ(join("https://api.example.com/api", "///"), "https://api.example.com/api");
    EXPECT_EQ(join("https://api.example.com", "/"), "https://api.example.com/");
    EXPECT_EQ(join("https://u@api.example.com:8443/p?k=v#frag", "v1/devices"), "https://u@api.example.com:8443/p/v1/devices?k=v");
}

TEST(APIConfig, UsesAnOverrideOnlyWhenItIsSafeToSendTokensThereAndNeverAnotherInItsPlace)
{
    const auto base = [] {
        const ServiceResult<APIConfig> config = APIConfig::current();
        return std::holds_alternative<APIConfig>(config) ? std::optional<QUrl>(std::get<APIConfig>(config).baseURL) : std::nullopt;
    };
    EXPECT_EQ(base(), APIConfig::defaultBaseURL());
    for (const char* text : {"https://staging.example.com", "http://127.0.0.1:8080", "http://localhost:3000/api", "http://[::1]:9000",
             "http://127.1:8080", "http://[::ffff:127.0.0.1]", "http://[::1%25lo]:9000"}) {
        APIConfig::setBaseURLOverride(QString(text));
        EXPECT_EQ(base(), QUrl(text)) << text;
    }
    for (const char* text : {"http://staging.example.com", "http://128.0.0.1", "http://0.0.0.0:8080", "http://[::]:8080",
             "http://[::ffff:10.0.0.1]", "http://127.0.0.1.example.com", "http://localhost.example.com", "ftp://files.example.com",
             "ftp://127.0.0.1:21", "https://", "/relative/path", "example.com"}) {
        APIConfig::setBaseURLOverride(QString(text));
        const ServiceResult<APIConfig> config = APIConfig::current();
        ASSERT_TRUE(std::holds_alternative<ServiceError>(config)) << text;
        EXPECT_TRUE(std::get<ServiceError>(config).localizedDescription().startsWith("This server address can’t be used: ")) << text;
        EXPECT_TRUE(APIGateway::endpointURL("v1/notes/sync").isEmpty()) << text;
    }
    for (const char* text : {"not a url", "http://exa mple.com"}) {
        UserDefaults::standard().set(storedSettings::apiBaseURL.key, QString(text));
        EXPECT_EQ(base(), APIConfig::defaultBaseURL()) << text;
    }
    UserDefaults::standard().set(storedSettings::apiBaseURL.key, QString());
    EXPECT_EQ(base(), APIConfig::defaultBaseURL());
}

TEST(APIConfig, TheSetterTrimsAndBlankRemoves)
{
    APIConfig::setBaseURLOverride(QString("https://a.example.com\n"));
    EXPECT_EQ(UserDefaults::standard().string(storedSettings::apiBaseURL.key), "https://a.example.com");
    APIConfig::setBaseURLOverride(QString("   "));
    EXPECT_FALSE(UserDefaults::standard().contains(storedSettings::apiBaseURL.key));
    APIConfig::setBaseURLOverride(QString("nonsense"));
    EXPECT_EQ(UserDefaults::standard().string(storedSettings::apiBaseURL.key), "nonsense");
    APIConfig::setBaseURLOverride(std::nullopt);
    EXPECT_FALSE(UserDefaults::standard().contains(storedSettings::apiBaseURL.key));
    EXPECT_EQ(APIConfig::shareLinkBase(), APIConfig::webOrigin() + "/share/");
}

TEST(APIGateway, RequestsCarryJsonAndTheBearerOnlyWhereAsked)
{
    const HttpRequest withBody = std::get<HttpRequest>(APIGateway::sessionRequest("POST", "v1/x", QByteArray("{}"), QString("tok"), 10,
        SessionIssuer::serverOf(APIConfig::defaultBaseURL())));
    EXPECT_EQ(withBody.headers.size(), 2);
    EXPECT_EQ(withBody.headers.at(0).second, "application/json");
    EXPECT_EQ(withBody.headers.at(1).second, "Bearer tok");
    const HttpRequest bare = std::get<HttpRequest>(APIGateway::request("GET", "v1/x", std::nullopt, 10));
    EXPECT_TRUE(bare.headers.isEmpty());
    EXPECT_EQ(bare.url, APIGateway::endpointURL("v1/x"));
}
