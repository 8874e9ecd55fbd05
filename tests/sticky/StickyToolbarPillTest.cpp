#include "sticky/EditorCommandLog.h"

#include "editor/AaPopupModel.h"
#include "editor/AaPopupView.h"
#include "editor/EditorCommands.h"
#include "platform/ColorPanel.h"
#include "platform/NotificationCenter.h"
#include "sticky/StickyFormatCommands.h"
#include "sticky/StickyPillButton.h"
#include "sticky/StickyToolbarPill.h"
#include "sticky/StickyTransparencyView.h"
#include "support/QtPrinters.h"
#include "support/RenderedImage.h"
#include "support/TestHome.h"

#include <QDir>
#include <QLabel>
#include <QSlider>
#include <QTest>
#include <gtest/gtest.h>

namespace norvelle::test {
namespace {

TEST(StickyFormatCommands, EachCallbackPostsItsCommandToTheNotesEditor)
{
    CommandLog log;
    int editor = 0;
    const AaPopupCallbacks callbacks = formatCommandCallbacks(&editor);
    callbacks.onFontSizeChange(18);
    callbacks.onToggleBold();
    callbacks.onToggleItalic();
    callbacks.onToggleUnderline();
    callbacks.onToggleStrikethrough();
    callbacks.onApplyTitle();
    callbacks.onApplyHeading();
    callbacks.onApplyBody();
    callbacks.onApplySubheading();
    callbacks.onApplyCaption();
    callbacks.onApplyMonospaced();
    callbacks.onSetTextColor("#fc0");
    callbacks.onToggleHighlight();
    callbacks.onSetHighlightColor("#FFB3BA");
    callbacks.onSetAlignment("justify");
    callbacks.onSetListStyle("dash");
    callbacks.onToggleQuote();

    using namespace EditorCommands;
    const std::vector<std::pair<QString, QVariantMap>> expected {
        {setFontSize, {{"size", 18}}},
        {toggleBold, {}},
        {toggleItalic, {}},
        {toggleUnderline, {}},
        {toggleStrikethrough, {}},
        {applyTitleStyle, {}},
        {applyHeadingStyle, {}},
        {applyBodyStyle, {}},
        {applySubheadingStyle, {}},
        {applyCaptionStyle, {}},
        {applyMonospacedStyle, {}},
        {setTextColor, {{"hex", "#fc0"}}},
        {toggleHighlight, {}},
        {setHighlightColor, {{"hex", "#FFB3BA"}}},
        {setAlignment, {{"alignment", "justify"}}},
        {setListStyle, {{"style", "dash"}}},
        {toggleQuote, {}},
    };
    ASSERT_EQ(log.entries.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(log.entries[i].name, expected[i].first);
        EXPECT_EQ(log.entries[i].userInfo, expected[i].second) << log.entries[i].name.toStdString();
        EXPECT_EQ(log.entries[i].object, &editor);
    }
    EXPECT_EQ(log.entries[0].userInfo.value("size").typeId(), QMetaType::Int) << "a number, not text";
}

class StickyToolbarPillTest : public testing::Test {
protected:
    StickyToolbarPillTest()
    {
        host.setGeometry(100, 520, 360, 52);
        pill = new StickyToolbarPill(&editor, &host);
        pill->setGeometry(host.rect());
        host.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&host));
    }
    ~StickyToolbarPillTest() override { ColorPanel::shared().close(); }

    QAbstractButton* button(const QString& name) const { return pill->findChild<QAbstractButton*>(name); }
    void click(const QString& name) const { QTest::mouseClick(button(name), Qt::LeftButton); }
    QAbstractButton* popupButton(const QString& name) const
    {
        return pill->aaPopup() ? pill->aaPopup()->findChild<QAbstractButton*>(name) : nullptr;
    }

    int editor = 0;
    CommandLog log;
    QWidget host;
    StickyToolbarPill* pill = nullptr;
};

TEST_F(StickyToolbarPillTest, CapsuleHugsItsButtonsCentredInThePlace)
{
    const QRect capsule = pill->capsuleRect();
    EXPECT_EQ(capsule.size(), QSize(7 + 32 + 4 * 30 + 4 * 3 + 7, 5 + 28 + 5));
    EXPECT_NEAR(capsule.center().x(), pill->rect().center().x(), 1);
    EXPECT_NEAR(capsule.center().y(), pill->rect().center().y(), 1);
}

TEST_F(StickyToolbarPillTest, InkAndShadowFollowThePapersDarkness)
{
    pill->setPaper("#FDFDF8", false);
    EXPECT_EQ(pill->ink(), pill->palette().color(QPalette::WindowText));
    EXPECT_DOUBLE_EQ(pill->shadowOpacity(), 0.1);
    pill->setPaper("#2C2C2E", true);
    EXPECT_EQ(pill->ink(), QColor(Qt::white));
    EXPECT_EQ(dynamic_cast<StickyPillButton*>(button("transparency"))->ink(), QColor(Qt::white));
    EXPECT_DOUBLE_EQ(pill->shadowOpacity(), 0.28);
    click("aa");
    ASSERT_NE(pill->aaPopup(), nullptr);
    EXPECT_TRUE(pill->aaPopup()->isDarkTheme());
}

TEST_F(StickyToolbarPillTest, AaOpensTheFormatPopupAboveAfterTellingTheHost)
{
    bool popoverShownWhenPressed = true;
    QObject::connect(pill, &StickyToolbarPill::aaPressed, pill,
        [&] { popoverShownWhenPressed = pill->aaPopover() && pill->aaPopover()->isVisible(); });
    click("aa");
    EXPECT_FALSE(popoverShownWhenPressed);
    ASSERT_NE(pill->aaPopover(), nullptr);
    EXPECT_TRUE(pill->aaPopover()->isVisible());
    EXPECT_FALSE(pill->aaPopup()->isDarkTheme());
    EXPECT_EQ(pill->aaPopover()->size(), QSize(AaPopupView::popupWidth, AaPopupView::compactHeight));
    const QRect aa(button("aa")->mapToGlobal(QPoint(0, 0)), button("aa")->size());
    EXPECT_LE(pill->aaPopover()->geometry().bottom(), aa.top()) << "it opens above the pill";
}

TEST_F(StickyToolbarPillTest, PopupButtonsPostToThisNotesEditorOnly)
{
    int otherEditor = 0;
    StickyToolbarPill otherPill(&otherEditor);
    click("aa");
    QTest::mouseClick(popupButton("bold"), Qt::LeftButton);
    QTest::mouseClick(popupButton("fontSize.plus"), Qt::LeftButton);
    ASSERT_EQ(log.entries.size(), 2u);
    EXPECT_EQ(log.entries[0].name, EditorCommands::toggleBold);
    EXPECT_EQ(log.entries[1].name, EditorCommands::setFontSize);
    EXPECT_EQ(log.entries[1].userInfo, (QVariantMap {{"size", 14}}));
    for (const auto& entry : log.entries) {
        EXPECT_EQ(entry.object, &editor);
    }

    // The popup follows this note's editor and no other.
    NotificationCenter::defaultCenter().post(EditorCommands::formattingStateDidChange, &otherEditor, {{"bold", true}});
    EXPECT_FALSE(pill->aaPopup()->model().isBold());
    NotificationCenter::defaultCenter().post(EditorCommands::formattingStateDidChange, &editor, {{"bold", true}});
    EXPECT_TRUE(pill->aaPopup()->model().isBold());
}

TEST_F(StickyToolbarPillTest, ExpandingGrowsThePopoverAndKeepsItOnScreen)
{
    click("aa");
    QTest::mouseClick(popupButton("disclosure"), Qt::LeftButton);
    pill->aaPopup()->finishAnimation();
    EXPECT_EQ(pill->aaPopover()->height(), AaPopupView::expandedHeight);
    EXPECT_GE(pill->aaPopover()->y(), pill->screen()->availableGeometry().top());
}

TEST_F(StickyToolbarPillTest, EachOpeningStartsAFreshPopupUnlessItHoldsTheColourPanel)
{
    click("aa");
    QTest::mouseClick(popupButton("disclosure"), Qt::LeftButton);
    pill->aaPopover()->performClose();
    EXPECT_EQ(pill->aaPopup(), nullptr);
    click("aa");
    EXPECT_FALSE(pill->aaPopup()->model().expanded());

    pill->aaPopup()->model().openColorPanel(AaPopupModel::ColorPanelTarget::text);
    pill->aaPopover()->performClose();
    ASSERT_NE(pill->aaPopup(), nullptr) << "picks in the panel still reach this note";
    ColorPanel::shared().dialog()->setCurrentColor(QColor(0x20, 0x40, 0x60));
    ASSERT_FALSE(log.entries.empty());
    EXPECT_EQ(log.entries.back().name, EditorCommands::setTextColor);
    EXPECT_EQ(log.entries.back().userInfo, (QVariantMap {{"hex", "#204060"}}));
    EXPECT_EQ(log.entries.back().object, &editor);
    ColorPanel::shared().close();
    EXPECT_EQ(pill->aaPopup(), nullptr);
}

TEST_F(StickyToolbarPillTest, ChecklistAndTableInsertIntoThisNote)
{
    click("checklist");
    click("table");
    pill->setInTableCell(true);
    click("table");
    EXPECT_FALSE(button("table")->isEnabled());
    EXPECT_TRUE(button("checklist")->isEnabled());
    click("checklist");
    ASSERT_EQ(log.entries.size(), 3u);
    EXPECT_EQ(log.entries[0].name, EditorCommands::insertChecklist);
    EXPECT_EQ(log.entries[1].name, EditorCommands::insertTable);
    EXPECT_EQ(log.entries[2].name, EditorCommands::insertChecklist);
    EXPECT_EQ(log.entries[1].object, &editor);
}

TEST_F(StickyToolbarPillTest, TransparencyShowsAndWritesTheOpacity)
{
    pill->setOpacity(0.625);
    std::vector<double> edits;
    QObject::connect(pill, &StickyToolbarPill::opacityEdited, pill, [&](double opacity) { edits.push_back(opacity); });
    click("transparency");
    StickyTransparencyView* view = pill->transparencyView();
    ASSERT_NE(view, nullptr);
    EXPECT_TRUE(pill->transparencyPopover()->isVisible());
    EXPECT_EQ(view->width(), 220);
    EXPECT_EQ(view->percentText(), "63%");
    EXPECT_NE(view->findChild<QLabel*>(), nullptr);
    QTest::keyClick(view->slider(), Qt::Key_Home);
    QTest::keyClick(view->slider(), Qt::Key_Down);
    EXPECT_EQ(view->percentText(), "16%");
    QTest::keyClick(view->slider(), Qt::Key_End);
    QTest::keyClick(view->slider(), Qt::Key_Up);
    EXPECT_EQ(view->percentText(), "100%");
    ASSERT_EQ(edits.size(), 2u);
    EXPECT_DOUBLE_EQ(edits[0], 0.16);
    EXPECT_DOUBLE_EQ(edits[1], 1.0);
    EXPECT_DOUBLE_EQ(pill->opacity(), 1.0);

    EXPECT_EQ(StickyTransparencyView::percentText(0.16), "16%");
    EXPECT_EQ(StickyTransparencyView::percentText(std::nan("")), "100%");
}

TEST_F(StickyToolbarPillTest, ColoursOpenTheHostsContent)
{
    click("colors");
    ASSERT_NE(pill->colorsPopover(), nullptr);
    EXPECT_TRUE(pill->colorsPopover()->isVisible());
    pill->colorsPopover()->performClose();
    int made = 0;
    pill->setColorsContentFactory([&] {
        ++made;
        auto* content = new QLabel("paper colours");
        content->setFixedSize(200, 120);
        return content;
    });
    click("colors");
    EXPECT_EQ(made, 1);
    EXPECT_EQ(pill->colorsPopover()->size(), QSize(200, 120));
    EXPECT_TRUE(log.entries.empty()) << "opening popovers sends nothing";
}

// Renders the pill on light and dark paper into build/screenshots/ for review.
TEST(StickyToolbarPillScreenshots, SavesThePillOnLightAndDarkPaper)
{
    const QString folder = QCoreApplication::applicationDirPath() + QStringLiteral("/../screenshots");
    QDir().mkpath(folder);
    int editor = 0;
    for (const auto& [paper, dark] : {std::pair {"#FDFDF8", false}, {"#FFE58F", false}, {"#2C2C2E", true}}) {
        QWidget host;
        host.resize(300, 52);
        host.setAutoFillBackground(true);
        QPalette palette = host.palette();
        palette.setColor(QPalette::Window, QColor(paper));
        host.setPalette(palette);
        StickyToolbarPill pill(&editor, &host);
        pill.setGeometry(host.rect());
        pill.setPaper(paper, dark);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
        QImage rendered(host.size() * 2, QImage::Format_ARGB32_Premultiplied);
        rendered.setDevicePixelRatio(2);
        host.render(&rendered);
        EXPECT_TRUE(rendered.save(folder + QStringLiteral("/pill-%1.png").arg(QString(paper).mid(1))));

        const RenderedImage image(rendered);
        EXPECT_EQ(image.logicalSize(), QSize(300, 52));
        EXPECT_TRUE(RenderedImage::near(image.dominantColour(QRect(0, 0, 20, 52)), QColor(paper), 1)) << paper;
        const QRect capsule = pill.capsuleRect().translated(pill.pos());
        const QColor face = image.dominantColour(capsule);
        EXPECT_FALSE(RenderedImage::near(face, QColor(paper), 3)) << paper;
        // The five icons in the ink, light on dark paper and dark on light paper.
        const QColor ink = pill.ink();
        EXPECT_EQ(dark, ink.lightness() > 128) << paper;
        const int inked = image.countPixels(capsule, [&](const QColor& c) { return RenderedImage::near(c, ink, 24); });
        EXPECT_GT(inked, 400) << paper;
        EXPECT_EQ(image.countPixels(QRect(0, 0, capsule.left(), 52), [&](const QColor& c) { return RenderedImage::near(c, ink, 24); }), 0);
    }
}

} // namespace
} // namespace norvelle::test
