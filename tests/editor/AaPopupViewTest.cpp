#include "AaPopupRecorder.h"

#include "editor/AaPopupChip.h"
#include "editor/AaPopupHighlightPalette.h"
#include "editor/AaPopupModel.h"
#include "editor/AaPopupSwatch.h"
#include "editor/AaPopupView.h"
#include "editor/EditorCommands.h"
#include "platform/ColorPanel.h"
#include "platform/NotificationCenter.h"
#include "platform/Popover.h"
#include "support/QtPrinters.h"
#include "support/RenderedImage.h"
#include "support/TestHome.h"

#include <QDir>
#include <QLineEdit>
#include <QTest>
#include <gtest/gtest.h>

namespace norvelle::test {
namespace {

using namespace std::chrono_literals;

// The popup driven through its real controls with clicks and keys.
class AaPopupViewTest : public testing::Test {
protected:
    AaPopupViewTest()
    {
        // Every click is a fresh tap, well past the cooldown, unless a test holds the clock.
        view.model().setClock([this] {
            if (!holdClock) {
                now += 1s;
            }
            return now;
        });
        view.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&view));
    }
    ~AaPopupViewTest() override { ColorPanel::shared().close(); }

    QAbstractButton* button(const QString& name) const
    {
        auto* found = view.findChild<QAbstractButton*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }
    void click(const QString& name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    AaPopupChip* chip(const QString& name) const { return dynamic_cast<AaPopupChip*>(button(name)); }
    QLineEdit* field() const { return view.findChild<QLineEdit*>("fontSize.field"); }
    void expand()
    {
        click("disclosure");
        view.finishAnimation();
        QCoreApplication::processEvents();
    }
    void postState(const QVariantMap& info)
    {
        NotificationCenter::defaultCenter().post(EditorCommands::formattingStateDidChange, &editor, info);
    }

    int editor = 0;
    bool holdClock = false;
    std::chrono::steady_clock::time_point now {1h};
    AaPopupRecorder recorder;
    AaPopupView view {false, recorder.callbacks(), &editor};
};

TEST_F(AaPopupViewTest, CompactControlsSendTheirCommands)
{
    for (const char* name : {"bold", "italic", "underline", "strike", "highlighter"}) {
        click(name);
    }
    click("style.Title");
    click("style.Heading");
    click("style.Body");
    click("fontSize.plus");
    click("fontSize.minus");
    click("fontSize.minus");
    EXPECT_EQ(recorder.calls, (QStringList {"bold", "italic", "underline", "strike", "highlight", "title", "heading", "body", "fontSize:15", "fontSize:14", "fontSize:13"}));
    EXPECT_EQ(field()->text(), "13");
    EXPECT_FALSE(chip("bold")->isActive()) << "toggles wait for the editor's report";
}

TEST_F(AaPopupViewTest, TwoQuickTapsOnBoldSendOne)
{
    holdClock = true;
    click("bold");
    click("bold");
    EXPECT_EQ(recorder.calls, QStringList {"bold"});
}

TEST_F(AaPopupViewTest, ControlsFollowTheEditorsReport)
{
    postState({{"bold", true}, {"strike", true}, {"fontSize", 20}, {"highlightHex", "#7DF9FF"},
        {"alignment", "right"}, {"listStyle", "dash"}, {"isQuoted", true}});
    EXPECT_TRUE(chip("bold")->isActive());
    EXPECT_FALSE(chip("italic")->isActive());
    EXPECT_TRUE(chip("strike")->isActive());
    EXPECT_EQ(field()->text(), "20");
    EXPECT_EQ(dynamic_cast<AaPopupSwatch*>(button("highlightPalette"))->hex(), "#7DF9FF");
    expand();
    EXPECT_TRUE(chip("format.bold")->isActive());
    EXPECT_TRUE(chip("fullStyle.Heading")->isActive());
    EXPECT_TRUE(chip("align.right")->isActive());
    EXPECT_TRUE(chip("list.dash")->isActive());
    EXPECT_TRUE(chip("quote")->isActive());

    int otherEditor = 0;
    NotificationCenter::defaultCenter().post(EditorCommands::formattingStateDidChange, &otherEditor, {{"bold", false}});
    EXPECT_TRUE(chip("bold")->isActive()) << "another note's report is not ours";
}

TEST_F(AaPopupViewTest, TypedFontSizeCommitsOnReturn)
{
    QTest::mouseClick(field(), Qt::LeftButton);
    field()->selectAll();
    QTest::keyClicks(field(), " 100 ");
    QTest::keyClick(field(), Qt::Key_Return);
    EXPECT_EQ(field()->text(), "72");
    field()->selectAll();
    QTest::keyClicks(field(), "abc");
    QTest::keyClick(field(), Qt::Key_Return);
    EXPECT_EQ(field()->text(), "72");
    EXPECT_EQ(recorder.calls, QStringList {"fontSize:72"});
    EXPECT_EQ(view.model().styleSelection(), "Title");
}

TEST_F(AaPopupViewTest, MoreOptionsGrowsThePopupAndLessShrinksIt)
{
    EXPECT_EQ(view.height(), AaPopupView::compactHeight);
    EXPECT_EQ(button("disclosure")->text(), "More options");
    expand();
    EXPECT_EQ(view.height(), AaPopupView::expandedHeight);
    EXPECT_EQ(button("disclosure")->text(), "Less");
    EXPECT_TRUE(button("quote")->isVisible());
    EXPECT_LE(button("quote")->mapTo(&view, QPoint(0, button("quote")->height())).y(), AaPopupView::expandedHeight)
        << "every section fits";
    expand();
    EXPECT_EQ(view.height(), AaPopupView::compactHeight);
    EXPECT_FALSE(button("quote")->isVisible());
}

TEST_F(AaPopupViewTest, ExpandedSectionsSendTheirCommands)
{
    expand();
    for (const QString& style : AaPopupModel::fullTextStyles) {
        click("fullStyle." + style);
    }
    for (const char* name : {"format.bold", "format.italic", "format.underline", "format.strike", "align.left",
             "align.center", "align.right", "align.justify", "list.number", "list.bullet",
             "list.dash", "list.dash", "quote"}) {
        click(name);
    }
    EXPECT_EQ(recorder.calls,
        (QStringList {"title", "heading", "subheading", "body", "caption", "monospaced", "bold", "italic",
            "underline", "strike", "alignment:left", "alignment:center", "alignment:right",
            "alignment:justify", "list:number", "list:bullet", "list:dash", "list:dash", "quote"}));
    EXPECT_TRUE(chip("fullStyle.Monospaced")->isActive());
    EXPECT_TRUE(chip("list.dash")->isActive());
    EXPECT_TRUE(chip("quote")->isActive());
}

TEST_F(AaPopupViewTest, ColourSectionSwitchesModesWithoutSending)
{
    expand();
    postState({{"textColorHex", "#ff3b30"}});
    auto swatch = [&](int i) { return dynamic_cast<AaPopupSwatch*>(button(QStringLiteral("swatch.%1").arg(i))); };
    EXPECT_EQ(swatch(1)->hex(), "#FF3B30");
    EXPECT_EQ(swatch(1)->ringColor().alpha(), 0) << "a hex differing in case rings nothing";
    click("swatch.5");
    EXPECT_NE(swatch(5)->ringColor().alpha(), 0);
    EXPECT_EQ(button("customColor")->text(), "Custom text color");
    click("mode.highlight");
    EXPECT_EQ(button("customColor")->text(), "Custom highlight color");
    EXPECT_EQ(swatch(0)->hex(), "#FFFF00");
    EXPECT_FALSE(swatch(4)->isVisible()) << "four highlight swatches";
    click("swatch.2");
    EXPECT_EQ(recorder.calls, (QStringList {"textColor:#007AFF", "highlightColor:#7DF9FF"}));
}

TEST_F(AaPopupViewTest, CustomColourButtonOpensThePanelAndItsPickBecomesASwatch)
{
    expand();
    click("customColor");
    ASSERT_TRUE(ColorPanel::shared().isVisible());
    ColorPanel::shared().dialog()->setCurrentColor(QColor(0x12, 0xAB, 0x9F));
    EXPECT_EQ(recorder.calls, QStringList {"textColor:#12AB9F"});
    auto* last = dynamic_cast<AaPopupSwatch*>(button("swatch.6"));
    EXPECT_EQ(last->hex(), "#12AB9F");
    EXPECT_NE(last->ringColor().alpha(), 0);
}

TEST_F(AaPopupViewTest, HighlightPalettePicksAndCloses)
{
    click("highlightPalette");
    ASSERT_NE(view.highlightPalette(), nullptr);
    ASSERT_TRUE(view.highlightPalette()->isVisible());
    auto* palette = dynamic_cast<AaPopupHighlightPalette*>(view.highlightPalette()->contentWidget());
    ASSERT_NE(palette, nullptr);
    EXPECT_EQ(palette->width(), AaPopupHighlightPalette::paletteWidth);
    QTest::mouseClick(palette->swatches()[3], Qt::LeftButton);
    EXPECT_FALSE(view.highlightPalette()->isVisible());
    EXPECT_EQ(recorder.calls, QStringList {"highlightColor:#FFB3BA"});
    EXPECT_EQ(dynamic_cast<AaPopupSwatch*>(button("highlightPalette"))->hex(), "#FFB3BA");

    click("highlightPalette");
    QTest::mouseClick(palette->customButton(), Qt::LeftButton);
    EXPECT_EQ(ColorPanel::shared().color(), QColor(0xFF, 0xB3, 0xBA));
    EXPECT_EQ(view.model().activeColorPanelTarget(), AaPopupModel::ColorPanelTarget::highlight);
}

// Renders the compact and expanded popup, light and dark, into build/screenshots/ for review.
TEST(AaPopupScreenshots, SavesCompactAndExpandedInBothThemes)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/../screenshots");
    QDir().mkpath(folder);
    int editor = 0;
    for (const bool dark : {false, true}) {
        AaPopupView view(dark, {}, &editor);
        NotificationCenter::defaultCenter().post(
            EditorCommands::formattingStateDidChange, &editor,
            {{"bold", true}, {"underline", true}, {"fontSize", 18}, {"textColorHex", "#007AFF"},
                {"highlightHex", "#ADFF2F"}, {"alignment", "center"}, {"listStyle", "bullet"}});
        view.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&view));
        for (const bool expanded : {false, true}) {
            if (expanded) {
                view.model().toggleExpanded();
                view.finishAnimation();
                QCoreApplication::processEvents();
            }
            QImage rendered(view.size() * 2, QImage::Format_ARGB32_Premultiplied);
            rendered.setDevicePixelRatio(2);
            rendered.fill(dark ? QColor(40, 40, 40) : QColor(220, 220, 220));
            view.render(&rendered, {}, {}, QWidget::DrawChildren);
            const QString name = QStringLiteral("/aa-popup-%1-%2.png")
                                     .arg(expanded ? "expanded" : "compact", dark ? "dark" : "light");
            EXPECT_TRUE(rendered.save(folder + name));

            const RenderedImage image(rendered);
            EXPECT_EQ(image.logicalSize(), QSize(AaPopupView::popupWidth, expanded ? AaPopupView::expandedHeight : AaPopupView::compactHeight));
            const auto area = [&](const char* name) {
                const auto* widget = view.findChild<QWidget*>(QString::fromLatin1(name));
                EXPECT_TRUE(widget && widget->isVisible()) << name;
                return widget ? QRect(widget->mapTo(&view, QPoint(0, 0)), widget->size()) : QRect();
            };
            const QColor panel = image.dominantColour(QRect(QPoint(0, 0), image.logicalSize()));
            EXPECT_EQ(dark, panel.lightness() < 128) << panel.name().toStdString();
            // The state the editor reported shows: bold on in the accent, italic off.
            EXPECT_TRUE(RenderedImage::bluish(image.dominantColour(area("bold"))));
            const QColor off = image.dominantColour(area("italic"));
            EXPECT_TRUE(RenderedImage::neutral(off)) << off.name().toStdString();
            EXPECT_FALSE(RenderedImage::near(off, panel, 2)) << "a chip, not the panel";
            if (expanded) {
                EXPECT_TRUE(RenderedImage::bluish(image.dominantColour(area("align.center"))));
                EXPECT_TRUE(RenderedImage::neutral(image.dominantColour(area("align.left"))));
                const auto red = [](const QColor& c) { return c.red() > 220 && c.green() < 90 && c.blue() < 90; };
                EXPECT_GT(image.countPixels(area("swatch.1"), red), 30) << "the red swatch";
                EXPECT_EQ(image.countPixels(area("swatch.4"), red), 0) << "the green one";
            }
        }
    }
}

} // namespace
} // namespace norvelle::test
