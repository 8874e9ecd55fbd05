#include "platform/TerminationSignals.h"
#include "support/TestHome.h"

#include <QSignalSpy>

#include <csignal>

using namespace norvelle;

TEST(TerminationSignals, ASignalDuringStartUpIsHeldAndThenHandledInOrder)
{
    TerminationSignals::holdUntilHandled();
    // Raised before anyone listens: without the hold this would end the test process.
    ::raise(SIGTERM);

    TerminationSignals termination;
    QSignalSpy spy(&termination, &TerminationSignals::terminationRequested);
    ASSERT_TRUE(test::waitUntil([&] { return spy.count() == 1; }));
    EXPECT_EQ(spy[0][0].toInt(), SIGTERM);

    ::raise(SIGINT);
    ASSERT_TRUE(test::waitUntil([&] { return spy.count() == 2; }));
    EXPECT_EQ(spy[1][0].toInt(), SIGINT);
}
