// "Copy link" on the real X11 clipboard, with xclip as the program that pastes it.
#include "../CollaborationTestWindow.h"

#include "platform/Pasteboard.h"
#include "support/ProgramRun.h"
#include "support/TestHome.h"

#include <QTest>

#include <gtest/gtest.h>

namespace norvelle::test {
namespace {

TEST(CollaborationX11, CopiedLinkIsWhatAnotherProgramPastes)
{
    runProgram("xclip", {"-selection", "clipboard", "-i"}, "something older");
    CollaborationTestWindow share;
    share.open(Pasteboard::general());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(share.controller->window()));

    QTest::mouseClick(share.button("copyLink"), Qt::LeftButton);
    EXPECT_EQ(share.button("copyLink")->text(), "Copied");
    const QByteArray link = share.note->sharePreviewURL().toUtf8();
    ASSERT_FALSE(link.isEmpty());
    EXPECT_EQ(runProgram("xclip", {"-o", "-selection", "clipboard"}), link);
}

} // namespace
} // namespace norvelle::test
