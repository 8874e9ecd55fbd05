#include "AaPopupRecorder.h"

#include "editor/AaPopupModel.h"
#include "editor/EditorCommands.h"
#include "platform/ColorPanel.h"
#include "platform/NotificationCenter.h"

#include <QColorDialog>
#include <gtest/gtest.h>

namespace norvelle::test {
namespace {

using namespace std::chrono_literals;
using Target = AaPopupModel::ColorPanelTarget;

class AaPopupModelTest : public testing::Test {
protected:
    AaPopupModelTest()
    {
        model.setClock([this] { return now; });
        ColorPanel::shared().close();
    }
    ~AaPopupModelTest() override { ColorPanel::shared().close(); }

    void advance(std::chrono::milliseconds step) { now += step; }
    void postState(const QVariantMap& info, const void* editor)
    {
        NotificationCenter::defaultCenter().post(EditorCommands::formattingStateDidChange, editor, info);
    }
    // A colour picked in the panel, as the user's drag in it reports it.
    static void pickInPanel(const QColor& color) { ColorPanel::shared().dialog()->setCurrentColor(color); }

    int editor = 0;
    std::chrono::steady_clock::time_point now {std::chrono::hours(1)};
    AaPopupRecorder recorder;
    AaPopupModel model {&editor, recorder.callbacks()};
};

TEST_F(AaPopupModelTest, StartsAtTheDocumentDefaults)
{
    EXPECT_FALSE(model.expanded());
    EXPECT_EQ(model.fontSize(), 13);
    EXPECT_EQ(model.fontSizeInput(), "13");
    EXPECT_EQ(model.highlightHex(), "#FFFF00");
    EXPECT_EQ(model.textColorHex(), "#000000");
    EXPECT_EQ(model.styleSelection(), "Body");
    EXPECT_EQ(model.fullStyleSelection(), "Body");
    EXPECT_EQ(model.alignmentSelection(), "left");
    EXPECT_EQ(model.listSelection(), "none");
    EXPECT_EQ(model.customHighlightColor(), QColor(255, 255, 0));
    EXPECT_FALSE(model.activeColorPanelTarget());
    // The first throttled action always runs.
    model.toggleBold();
    EXPECT_EQ(recorder.calls, QStringList {"bold"});
}

TEST_F(AaPopupModelTest, FontSizeReportsPickTheMarkedStyles)
{
    const struct {
        int size;
        const char* compact;
        const char* full;
    } cases[] = {
        {21, "Title", "Title"},
        {20, "Heading", "Heading"},
        {17, "Heading", "Heading"},
        {16, "Body", "Subheading"},
        {15, "Body", "Subheading"},
        {14, "Body", "Body"},
        {13, "Body", "Body"},
        {12, "Body", "Caption"},
        {-3, "Body", "Caption"},
    };
    for (const auto& c : cases) {
        postState({{"fontSize", c.size}}, &editor);
        EXPECT_EQ(model.fontSize(), c.size);
        EXPECT_EQ(model.fontSizeInput(), QString::number(c.size));
        EXPECT_EQ(model.styleSelection(), c.compact) << c.size;
        EXPECT_EQ(model.fullStyleSelection(), c.full) << c.size;
    }
    EXPECT_TRUE(recorder.calls.isEmpty()) << "mirroring never echoes commands";
}

TEST_F(AaPopupModelTest, ReportsFallBackKeyByKey)
{
    postState({{"bold", true}, {"italic", true}, {"underline", true}, {"strike", true},
                  {"alignment", "center"}, {"listStyle", "dash"}, {"isQuoted", true},
                  {"textColorHex", "#FF3B30"}, {"highlightHex", "#ADFF2F"}, {"fontSize", 18}},
        &editor);
    EXPECT_TRUE(model.isBold() && model.isItalic() && model.isUnderline() && model.isStrike() && model.quoteEnabled());
    EXPECT_EQ(model.textColorHex(), "#FF3B30");
    EXPECT_EQ(model.customTextColor(), QColor(0xFF, 0x3B, 0x30));

    // Missing or mistyped flags fall back; missing colours and a fractional size stay.
    postState({{"bold", "yes"}, {"alignment", 3}, {"fontSize", 24.0}}, &editor);
    EXPECT_FALSE(model.isBold() || model.isItalic() || model.isUnderline() || model.isStrike() || model.quoteEnabled());
    EXPECT_EQ(model.alignmentSelection(), "left");
    EXPECT_EQ(model.listSelection(), "none");
    EXPECT_EQ(model.textColorHex(), "#FF3B30");
    EXPECT_EQ(model.highlightHex(), "#ADFF2F");
    EXPECT_EQ(model.fontSize(), 18);
    EXPECT_EQ(model.fontSizeInput(), "18");
    EXPECT_EQ(model.styleSelection(), "Heading");

    // A report with no user info at all changes nothing.
    postState({{"bold", true}}, &editor);
    postState({}, &editor);
    EXPECT_TRUE(model.isBold());
}

TEST_F(AaPopupModelTest, MirrorsOnlyItsOwnEditor)
{
    int otherEditor = 0;
    postState({{"bold", true}, {"fontSize", 22}}, &otherEditor);
    postState({{"bold", true}, {"fontSize", 22}}, nullptr);
    EXPECT_FALSE(model.isBold());
    EXPECT_EQ(model.fontSize(), 13);
    postState({{"bold", true}}, &editor);
    EXPECT_TRUE(model.isBold());
}

TEST_F(AaPopupModelTest, ThrottleDropsTapsWithinTheCooldown)
{
    model.toggleBold();
    advance(100ms);
    model.toggleBold();
    model.toggleHighlightThrottled();
    model.selectAlignment("right");
    EXPECT_EQ(recorder.calls, QStringList {"bold"});
    EXPECT_EQ(model.alignmentSelection(), "left") << "a dropped tap changes nothing";
    advance(60ms);
    model.toggleItalic();
    advance(160ms);
    model.toggleHighlightThrottled();
    EXPECT_EQ(recorder.calls, (QStringList {"bold", "italic", "highlight"}));
}

TEST_F(AaPopupModelTest, StyleChoicesRespectButDoNotRestartTheCooldown)
{
    model.selectFullStyle("Subheading");
    advance(100ms);
    model.selectFullStyle("Caption");
    EXPECT_EQ(recorder.calls, (QStringList {"subheading", "caption"}));
    EXPECT_EQ(model.styleSelection(), "Body");
    EXPECT_EQ(model.fullStyleSelection(), "Caption");
    EXPECT_EQ(model.fontSize(), 12);
    EXPECT_EQ(model.fontSizeInput(), "12");

    model.toggleUnderline();
    advance(100ms);
    model.selectFullStyle("Title");
    EXPECT_EQ(model.fullStyleSelection(), "Caption");
    advance(60ms);
    model.selectFullStyle("Subheading");
    EXPECT_EQ(model.styleSelection(), "Heading");
    EXPECT_EQ(model.fontSize(), 16);
    model.selectFullStyle("Monospaced");
    model.selectFullStyle("Fancy");
    EXPECT_EQ(recorder.calls, (QStringList {"subheading", "caption", "underline", "subheading", "monospaced", "body"}));
    EXPECT_EQ(model.fullStyleSelection(), "Fancy");
    EXPECT_EQ(model.fontSize(), 14);
}

TEST_F(AaPopupModelTest, StepperClampsAndStillReports)
{
    postState({{"fontSize", 8}}, &editor);
    model.decrementFontSize();
    postState({{"fontSize", 72}}, &editor);
    model.incrementFontSize();
    model.decrementFontSize();
    EXPECT_EQ(recorder.calls, (QStringList {"fontSize:8", "fontSize:72", "fontSize:71"}));
    EXPECT_EQ(model.fontSizeInput(), "71");
    EXPECT_EQ(model.fullStyleSelection(), "Title") << "steps leave the style marks";
}

TEST_F(AaPopupModelTest, FieldCommitClampsOrResets)
{
    const struct {
        const char* typed;
        int size;
        const char* compact;
    } accepted[] = {{" 100 ", 72, "Title"}, {"3", 8, "Body"}, {"+20\n", 20, "Heading"}, {"-4", 8, "Body"},
        {"99999999999", 72, "Title"}};
    for (const auto& c : accepted) {
        model.setFontSizeInput(c.typed);
        model.commitFontSizeInput();
        EXPECT_EQ(model.fontSize(), c.size) << c.typed;
        EXPECT_EQ(model.fontSizeInput(), QString::number(c.size));
        EXPECT_EQ(model.styleSelection(), c.compact);
        EXPECT_EQ(recorder.calls.takeLast(), QStringLiteral("fontSize:%1").arg(c.size));
    }
    EXPECT_EQ(model.fullStyleSelection(), "Body") << "a typed size leaves the full-style mark";

    for (const char* bad : {"abc", "", "  ", "1 2", "12pt", "0x10", "99999999999999999999"}) {
        model.setFontSizeInput(bad);
        model.commitFontSizeInput();
        EXPECT_EQ(model.fontSizeInput(), "72") << bad;
    }
    EXPECT_TRUE(recorder.calls.isEmpty());

    // Inside the cooldown the field resets and nothing is sent.
    model.toggleBold();
    model.setFontSizeInput("30");
    model.commitFontSizeInput();
    EXPECT_EQ(model.fontSize(), 72);
    EXPECT_EQ(model.fontSizeInput(), "72");
    EXPECT_EQ(recorder.calls, QStringList {"bold"});
}

TEST_F(AaPopupModelTest, ListAlignmentAndQuoteChangeTheirMarkAtOnce)
{
    model.selectListStyle("bullet");
    advance(200ms);
    model.selectListStyle("bullet");
    advance(200ms);
    model.toggleQuote();
    advance(200ms);
    model.selectAlignment("justify");
    EXPECT_EQ(recorder.calls, (QStringList {"list:bullet", "list:bullet", "quote", "alignment:justify"}));
    EXPECT_EQ(model.listSelection(), "bullet");
    EXPECT_TRUE(model.quoteEnabled());
    EXPECT_EQ(model.alignmentSelection(), "justify");
}

TEST_F(AaPopupModelTest, PaletteMergeKeepsTheLength)
{
    const QStringList text = AaPopupModel::textColorOptions;
    EXPECT_EQ(AaPopupModel::mergePalette({}, QString("#123456")), QStringList {});
    EXPECT_EQ(AaPopupModel::mergePalette(text, std::nullopt), text);
    EXPECT_EQ(AaPopupModel::mergePalette(text, QString(" ff3b30 ")), text) << "held, compared normalised";
    EXPECT_EQ(AaPopupModel::mergePalette(text, QString("#fc0")), text);
    QStringList merged = AaPopupModel::mergePalette(text, QString("12ab9f"));
    ASSERT_EQ(merged.size(), 7);
    EXPECT_EQ(merged.last(), "#12AB9F");
    EXPECT_EQ(merged.mid(0, 6), text.mid(0, 6));
    merged = AaPopupModel::mergePalette(AaPopupModel::highlightColors, QString("#abc"));
    EXPECT_EQ(merged, (QStringList {"#FFFF00", "#ADFF2F", "#7DF9FF", "#AABBCC"}));
}

TEST_F(AaPopupModelTest, ModeSwitchChangesPaletteAndTitleOnly)
{
    postState({{"textColorHex", "#34C759"}, {"highlightHex", "#7DF9FF"}}, &editor);
    EXPECT_EQ(model.palette(), AaPopupModel::textColorOptions);
    EXPECT_EQ(model.selectedHex(), "#34C759");
    EXPECT_EQ(model.customColorTitle(), "Custom text color");
    model.setColorMode(AaPopupModel::ColorMode::highlight);
    EXPECT_EQ(model.palette(), AaPopupModel::highlightColors);
    EXPECT_EQ(model.selectedHex(), "#7DF9FF");
    EXPECT_EQ(model.customColorTitle(), "Custom highlight color");
    model.pickSwatch("#FFB3BA");
    model.setColorMode(AaPopupModel::ColorMode::text);
    model.pickSwatch("#007AFF");
    EXPECT_EQ(recorder.calls, (QStringList {"highlightColor:#FFB3BA", "textColor:#007AFF"}));
    EXPECT_EQ(model.highlightHex(), "#FFB3BA");
}

TEST_F(AaPopupModelTest, HighlightPaletteChoiceClosesIt)
{
    model.toggleHighlightPalette();
    EXPECT_TRUE(model.showHighlightPalette());
    model.pickHighlightColor("#7DF9FF");
    EXPECT_FALSE(model.showHighlightPalette());
    EXPECT_EQ(model.highlightHex(), "#7DF9FF");
    EXPECT_EQ(model.customHighlightColor(), QColor(0x7D, 0xF9, 0xFF));
    EXPECT_EQ(recorder.calls, QStringList {"highlightColor:#7DF9FF"});
}

TEST_F(AaPopupModelTest, ColorPanelPicksGoOutUntilThePanelCloses)
{
    model.openColorPanel(Target::text);
    ASSERT_TRUE(ColorPanel::shared().isVisible());
    EXPECT_EQ(ColorPanel::shared().color(), QColor(0, 0, 0)) << "opens on the current text colour";
    EXPECT_TRUE(recorder.calls.isEmpty()) << "the starting colour is not a pick";
    pickInPanel(QColor(0x12, 0xAB, 0x9F));
    pickInPanel(QColor(0x12, 0xAB, 0xA0));
    EXPECT_EQ(recorder.calls, (QStringList {"textColor:#12AB9F", "textColor:#12ABA0"}));
    EXPECT_EQ(model.recentCustomTextHex(), QString("#12ABA0"));
    EXPECT_EQ(model.palette().last(), "#12ABA0");
    EXPECT_EQ(model.selectedHex(), "#12ABA0");

    ColorPanel::shared().close();
    EXPECT_FALSE(model.activeColorPanelTarget());
    ColorPanel::shared().dialog()->show();
    pickInPanel(Qt::red);
    EXPECT_EQ(recorder.calls.size(), 2) << "a change after the panel closed is ignored";
}

TEST_F(AaPopupModelTest, ColorPanelOpensOnReadableColoursOnly)
{
    postState({{"highlightHex", "not a colour"}}, &editor);
    model.openColorPanel(Target::highlight);
    EXPECT_EQ(ColorPanel::shared().color(), QColor(Qt::yellow));
    pickInPanel(QColor(0x80, 0x40, 0x20));
    EXPECT_EQ(recorder.calls, QStringList {"highlightColor:#804020"});
    EXPECT_EQ(model.recentCustomHighlightHex(), QString("#804020"));
    EXPECT_FALSE(model.recentCustomTextHex());
}

TEST_F(AaPopupModelTest, OnlyTheLastOpenerOwnsThePanel)
{
    int otherEditor = 0;
    AaPopupRecorder otherRecorder;
    AaPopupModel other(&otherEditor, otherRecorder.callbacks());

    model.openColorPanel(Target::text);
    other.openColorPanel(Target::highlight);
    EXPECT_FALSE(model.activeColorPanelTarget()) << "the first popup lost the panel";
    pickInPanel(QColor(0x11, 0x22, 0x33));
    EXPECT_TRUE(recorder.calls.isEmpty());
    EXPECT_EQ(otherRecorder.calls, QStringList {"highlightColor:#112233"});

    model.openColorPanel(Target::text);
    pickInPanel(QColor(0x44, 0x55, 0x66));
    EXPECT_EQ(recorder.calls, QStringList {"textColor:#445566"});
    EXPECT_EQ(otherRecorder.calls.size(), 1);
    EXPECT_FALSE(other.activeColorPanelTarget());
}

} // namespace
} // namespace norvelle::test
