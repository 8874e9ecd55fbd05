#include "platform/X11GlobalHotKeys.h"
#include "support/LogCapture.h"

#include <gtest/gtest.h>

#include <linux/input-event-codes.h>

namespace norvelle {
namespace {

// The unit tests run Qt offscreen: there is no X display to grab keys on.
TEST(GlobalHotKeysWithoutDisplay, RegistrationFailsCleanlyAndSaysSoOnce)
{
    test::LogCapture log;
    X11GlobalHotKeys hotKeys;
    hotKeys.setPressHandler([](quint32) { FAIL() << "no press can arrive"; });
    for (int attempt = 0; attempt < 3; ++attempt) {
        const HotKeyRegistration registration = hotKeys.registerHotKey(KEY_V, GlobalHotKeys::super | GlobalHotKeys::shift, quint32(attempt + 1));
        EXPECT_FALSE(registration.succeeded());
        EXPECT_EQ(registration.error, HotKeyError::noDisplay);
        EXPECT_EQ(registration.ref, 0u);
    }
    hotKeys.unregisterHotKey(1);
    ASSERT_EQ(log.messages().size(), 1);
    EXPECT_TRUE(log.messages().first().contains(hotKeyErrorMessage(HotKeyError::noDisplay)));
}

} // namespace
} // namespace norvelle
