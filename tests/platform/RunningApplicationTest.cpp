#include "platform/RunningApplication.h"

#include <gtest/gtest.h>

using namespace norvelle;

TEST(RunningApplication, WithoutAnX11DisplayThereIsNoneAndNothingToActivate)
{
    EXPECT_FALSE(RunningApplication::frontmost());
    EXPECT_FALSE(RunningApplication(42, 1, "Name").activate());
}
