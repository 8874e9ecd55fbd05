#include "account/APIConfig.h"
#include "account/APIGateway.h"

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

TEST(APIConfig, UsesAnOverrideOnlyWhenItIsSafeToSendTokensThere)
{
    EXPECT_EQ(APIConfig::current().baseURL, APIConfig::defaultBaseURL());
    const std::pair<const char*, bool> cases[] = {
        {"https://staging.example.com", true},
        {"http://127.0.0.1:8080", true},
        {"http://localhost:3000/api", true},
        {"http://[::1]:9000", true},
        {"http://127.1:8080", true},
        {"http://[::ffff:127.0.0.1]", true},
        {"http://[::1%25lo]:9000", true},
        {"http://staging.example.com", false},
        {"http://128.0.0.1", false},
        {"http://0.0.0.0:8080", false},
        {"http://[::]:8080", false},
        {"http://[::ffff:10.0.0.1]", false},
        {"http://127.0.0.1.example.com", false},
        {"http://localhost.example.com", false},
        {"ftp://files.example.com", false},
        {"not a url", false},
        {"https://", false},
        {"/relative/path", false},
    };
    for (const auto& [text, used] : cases) {
        APIConfig::setBaseURLOverride(QString(text));
        EXPECT_EQ(APIConfig::current().baseURL == QUrl(text), used) << text;
        if (!used) {
            EXPECT_EQ(APIConfig::current().baseURL, APIConfig::defaultBaseURL()) << text;
        }
    }
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
    const HttpRequest withBody = APIGateway::request("POST", "v1/x", QByteArray("{}"), QString("tok"), 10);
    EXPECT_EQ(withBody.headers.size(), 2);
    EXPECT_EQ(withBody.headers.at(0).second, "application/json");
    EXPECT_EQ(withBody.headers.at(1).second, "Bearer tok");
    const HttpRequest bare = APIGateway::request("GET", "v1/x", std::nullopt, std::nullopt, 10);
    EXPECT_TRUE(bare.headers.isEmpty());
    EXPECT_EQ(bare.url, APIGateway::endpointURL("v1/x"));
}
