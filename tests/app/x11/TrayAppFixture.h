#pragma once

#include "app/AppDelegate.h"
#include "platform/StatusItem.h"
#include "platform/UserDefaults.h"
#include "support/TestHome.h"
#include "support/TrayHost.h"

#include <gtest/gtest.h>

#include <memory>

namespace norvelle::test {

// The program launched as a user meets it: onboarding done, both icons placed in a real tray.
class TrayAppFixture : public testing::Test {
protected:
    static constexpr int trayWaitMs = 20000;

    void SetUp() override
    {
        ASSERT_TRUE(tray.isRunning()) << "no tray host";
        UserDefaults::standard().set("norvelle.hasCompletedOnboarding", true);
        AppServices services = AppServices::live();
        services.startCrashTelemetry = [] {};
        app = std::make_unique<AppDelegate>(services);
        app->applicationDidFinishLaunching();
        ASSERT_TRUE(waitUntil([&] {
            const QRect clip = app->clipStatusItem()->geometry();
            const QRect sticky = app->stickyStatusItem()->geometry();
            return !clip.isEmpty() && !sticky.isEmpty() && !clip.intersects(sticky);
        },
            trayWaitMs))
            << "the icons never reached the tray";
        // The tray lays its icons out again as each one arrives.
        waitUntil([] { return false; }, 500);
    }

    void TearDown() override
    {
        if (app)
            app->applicationWillTerminate();
    }

    TrayHost tray;
    std::unique_ptr<AppDelegate> app;
};

} // namespace norvelle::test
