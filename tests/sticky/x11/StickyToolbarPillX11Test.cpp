// The toolbar pill, its format popup and the colour panel on a real X server with a window
// manager, clicked by xdotool as the user's pointer would.
#include "sticky/EditorCommandLog.h"

#include "editor/AaPopupModel.h"
#include "editor/AaPopupView.h"
#include "platform/ColorPanel.h"
#include "sticky/StickyToolbarPill.h"
#include "support/ColorWells.h"
#include "support/PointerDrag.h"
#include "support/TestHome.h"

#include <QAbstractButton>
#include <QColorDialog>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>

namespace norvelle::test {
namespace {

constexpr int waitMs = 10000;

// A window mapped while the window manager is still starting can be left unmapped: map it again.
bool showExposed(QWidget& window)
{
    for (int attempt = 0; attempt < 5; ++attempt) {
        window.show();
        if (waitUntil([&] { return window.windowHandle()->isExposed(); }, 2000)) {
            return true;
        }
        window.hide();
    }
    return false;
}

QPoint centreOf(const QWidget* widget)
{
    return widget->mapToGlobal(widget->rect().center());
}

class StickyToolbarPillX11Test : public testing::Test {
protected:
    StickyToolbarPillX11Test()
    {
        host.setWindowFlags(Qt::FramelessWindowHint);
        host.setGeometry(500, 780, 360, 52);
        pill = new StickyToolbarPill(&editor, &host);
        pill->setGeometry(host.rect());
        EXPECT_TRUE(showExposed(host));
    }
    ~StickyToolbarPillX11Test() override { ColorPanel::shared().close(); }

    QAbstractButton* button(const QString& name) const { return pill->findChild<QAbstractButton*>(name); }
    QAbstractButton* popupButton(const QString& name) const
    {
        return pill->aaPopup()->findChild<QAbstractButton*>(name);
    }

    int editor = 0;
    CommandLog log;
    QWidget host;
    StickyToolbarPill* pill = nullptr;
};

TEST_F(StickyToolbarPillX11Test, FormatPopupOpensAboveAndSendsToThisNote)
{
    clickAt(centreOf(button("aa")));
    ASSERT_TRUE(waitUntil([&] { return pill->aaPopover() && pill->aaPopover()->isVisible(); }, waitMs));
    const QRect aa(button("aa")->mapToGlobal(QPoint(0, 0)), button("aa")->size());
    ASSERT_TRUE(waitUntil([&] { return pill->aaPopover()->geometry().bottom() < aa.top(); }, waitMs))
        << "it opens above the pill";
    const int bottom = pill->aaPopover()->geometry().bottom();

    clickAt(centreOf(popupButton("bold")));
    ASSERT_TRUE(waitUntil([&] { return !log.entries.empty(); }, waitMs));
    EXPECT_EQ(log.entries[0].name, EditorCommands::toggleBold);
    EXPECT_EQ(log.entries[0].object, &editor);

    clickAt(centreOf(popupButton("disclosure")));
    ASSERT_TRUE(waitUntil([&] { return pill->aaPopover()->height() == AaPopupView::expandedHeight; }, waitMs));
    ASSERT_TRUE(waitUntil([&] { return pill->aaPopover()->geometry().bottom() == bottom; }, waitMs))
        << "it grows upwards, away from the pill";

    clickAt({40, 40});
    EXPECT_TRUE(waitUntil([&] { return !pill->aaPopover()->isVisible(); }, waitMs)) << "a click outside closes it";
}

TEST_F(StickyToolbarPillX11Test, AColourPickedInThePanelReachesThisNoteUntilTheWindowManagerClosesIt)
{
    clickAt(centreOf(button("aa")));
    ASSERT_TRUE(waitUntil([&] { return pill->aaPopover() && pill->aaPopover()->isVisible(); }, waitMs));
    AaPopupModel& model = pill->aaPopup()->model();
    model.openColorPanel(AaPopupModel::ColorPanelTarget::text);
    QColorDialog* dialog = ColorPanel::shared().dialog();
    ASSERT_TRUE(waitUntil([&] { return dialog->isVisible() && dialog->windowHandle()->isExposed(); }, waitMs));
    EXPECT_FALSE(pill->aaPopover()->isVisible()) << "the popover steps aside for the panel";

    // A cell in the middle of the basic colours (the first is black, the colour already shown).
    QWidget* wells = test::colorWells(dialog);
    ASSERT_NE(wells, nullptr);
    xdotool({"windowactivate", "--sync", QString::number(dialog->winId())});
    clickAt(wells->mapToGlobal(QPoint(wells->width() * 9 / 16, wells->height() * 7 / 12)));
    ASSERT_TRUE(waitUntil([&] { return !log.entries.empty(); }, waitMs));
    EXPECT_EQ(log.entries.back().name, EditorCommands::setTextColor);
    EXPECT_EQ(log.entries.back().object, &editor);
    EXPECT_EQ(log.entries.back().userInfo.value("hex").toString(), model.textColorHex());

    xdotool({"windowactivate", "--sync", QString::number(dialog->winId()), "key", "--clearmodifiers", "alt+F4"});
    ASSERT_TRUE(waitUntil([&] { return !dialog->isVisible(); }, waitMs));
    EXPECT_EQ(ColorPanel::shared().owner(), nullptr);
    // The popup may be let go once neither it nor the panel shows.
    EXPECT_TRUE(!pill->aaPopup() || !pill->aaPopup()->model().activeColorPanelTarget());
}

} // namespace
} // namespace norvelle::test
