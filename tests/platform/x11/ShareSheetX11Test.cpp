// "Copy" of the share menu on the real X11 clipboard, clicked with xdotool and pasted by xclip.
#include "platform/ShareSheet.h"

#include "support/ProgramRun.h"
#include "support/TestHome.h"

#include <QPointer>
#include <QProcess>
#include <QTest>

#include <gtest/gtest.h>

using namespace norvelle;

TEST(ShareSheetX11, CopiedTextIsWhatAnotherProgramPastes)
{
    test::runProgram("xclip", {"-selection", "clipboard", "-i"}, "something older");
    QPointer<ShareSheet> sheet = ShareSheet::present({.items = {QStringLiteral("Shared from a sticky\n\nwith its body")}, .generatedLink = std::nullopt},
        QPoint(200, 200));
    ASSERT_TRUE(sheet);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(sheet.data()));
    const QPoint target = sheet->mapToGlobal(sheet->actionGeometry(sheet->copyAction()).center());
    test::runProgram("xdotool", {"mousemove", QString::number(target.x()), QString::number(target.y())});
    ASSERT_TRUE(test::waitUntil([&] { return QCursor::pos() == target; }, 20000));
    test::runProgram("xdotool", {"click", "1"});
    // The menu goes once an entry is chosen.
    ASSERT_TRUE(test::waitUntil([&] { return sheet.isNull(); }, 20000));
    EXPECT_EQ(test::runProgram("xclip", {"-o", "-selection", "clipboard"}), "Shared from a sticky\n\nwith its body");
}
