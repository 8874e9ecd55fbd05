// The one main of every test executable: a QApplication (offscreen, or on the real X server for
// the x11 executables) and a fresh, empty NORVELLE_HOME for every test.
#include "support/TestHome.h"

#include <QApplication>
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

namespace {

bool isOnlyListing(int argc, char** argv)
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--gtest_list_tests") == 0) {
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv)
{
#ifndef NORVELLE_TEST_X11
    qputenv("QT_QPA_PLATFORM", "offscreen");
#else
    qputenv("QT_QPA_PLATFORM", "xcb");
#endif
    // Before InitGoogleTest, which takes its own flags out of argv.
    const bool onlyListing = isOnlyListing(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    std::unique_ptr<QApplication> app;
    if (!onlyListing) {
        app = std::make_unique<QApplication>(argc, argv);
        app->setQuitOnLastWindowClosed(false);
    }
    testing::UnitTest::GetInstance()->listeners().Append(new norvelle::test::TestHomeListener);
    return RUN_ALL_TESTS();
}
