#include "EditorTestSupport.h"

#include "editor/EditorCommands.h"
#include "editor/EditorFonts.h"
#include "rtf/RichTextCodec.h"

#include <QFontDatabase>
#include <QFontInfo>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace norvelle;
using namespace norvelle::test;

namespace {

QTextCharFormat at(EditorProbe& probe, int position)
{
    return TextStorage(probe.document()).charFormat(position);
}

// The editor's text saved and opened again in a new editor.
std::unique_ptr<EditorProbe> reopened(EditorProbe& probe)
{
    return std::make_unique<EditorProbe>(probe.reportedText(), probe.editor->richData());
}

TEST(FormattingCommands, BoldTogglesEachRunOnItsOwn)
{
    EditorProbe probe(QStringLiteral("boldplain"));
    probe.select(0, 4);
    probe.post(EditorCommands::toggleBold);
    EXPECT_EQ(at(probe, 0).fontWeight(), 700);
    probe.select(0, 9);
    probe.post(EditorCommands::toggleBold);
    EXPECT_EQ(at(probe, 0).fontWeight(), 400);
    EXPECT_EQ(at(probe, 6).fontWeight(), 700);
    EXPECT_EQ(probe.states.back().value("bold"), false);
    // The edit reached the store as a body first, then as text.
    ASSERT_GE(probe.reports().size(), 2u);
    EXPECT_EQ(probe.reports()[probe.reports().size() - 2].kind, EditorProbe::Report::RichData);
    EXPECT_EQ(reopened(probe)->document().findBlock(0).text(), QStringLiteral("boldplain"));
    EXPECT_EQ(at(*reopened(probe), 6).fontWeight(), 700);
}

TEST(FormattingCommands, ACaretChangesOnlyWhatIsTypedNext)
{
    EditorProbe probe(QStringLiteral("plain"));
    probe.caret(5);
    probe.post(EditorCommands::toggleItalic);
    EXPECT_TRUE(probe.reports().empty());
    EXPECT_EQ(probe.states.back().value("italic"), true);
    QTest::keyClicks(&probe.view(), QStringLiteral("it"));
    EXPECT_TRUE(at(probe, 5).fontItalic());
    EXPECT_FALSE(at(probe, 4).fontItalic());
    probe.post(EditorCommands::toggleItalic);
    QTest::keyClicks(&probe.view(), QStringLiteral("up"));
    EXPECT_FALSE(at(probe, 7).fontItalic());
}

TEST(FormattingCommands, TheFirstCharacterDecidesUnderlineAndStrikethrough)
{
    EditorProbe probe(QStringLiteral("abcd"));
    probe.select(0, 1);
    probe.post(EditorCommands::toggleUnderline);
    probe.select(0, 4);
    probe.post(EditorCommands::toggleUnderline);
    for (int i = 0; i < 4; ++i)
        EXPECT_FALSE(at(probe, i).fontUnderline()) << i;
    probe.post(EditorCommands::toggleUnderline);
    probe.post(EditorCommands::toggleStrikethrough);
    EXPECT_TRUE(at(probe, 3).fontUnderline());
    EXPECT_TRUE(at(probe, 3).fontStrikeOut());
    auto again = reopened(probe);
    EXPECT_TRUE(at(*again, 2).fontUnderline());
    EXPECT_TRUE(at(*again, 2).fontStrikeOut());
}

TEST(FormattingCommands, TextIsDrawnAtOnePixelAPointAndStoredInPoints)
{
    EditorProbe probe;
    QTest::keyClicks(&probe.view(), QStringLiteral("body"));
    QTest::keyClick(&probe.view(), Qt::Key_Return);
    QTest::keyClicks(&probe.view(), QStringLiteral("title"));
    probe.select(5, 10);
    probe.post(EditorCommands::applyTitleStyle);
    // As every other view draws point sizes: a 14-point body is 14 pixels high text.
    EXPECT_EQ(QFontInfo(at(probe, 1).font()).pixelSize(), 14);
    EXPECT_EQ(QFontInfo(at(probe, 6).font()).pixelSize(), 22);
    const QByteArray body = probe.editor->richData().value();
    EXPECT_TRUE(body.contains("\\fs28 body")) << body.toStdString();
    EXPECT_TRUE(body.contains("\\fs44")) << body.toStdString();
    const auto again = reopened(probe);
    EXPECT_EQ(QFontInfo(at(*again, 1).font()).pixelSize(), 14);
    EXPECT_EQ(QFontInfo(at(*again, 6).font()).pixelSize(), 22);
    EXPECT_EQ(again->editor->richData(), body);
}

TEST(FormattingCommands, StylesAndSizesReplaceTheWholeFont)
{
    EditorProbe probe(QStringLiteral("word"));
    probe.select(0, 4);
    probe.post(EditorCommands::toggleBold);
    probe.post(EditorCommands::setFontSize, {{"size", 18}});
    EXPECT_EQ(EditorFonts::size(at(probe, 1)), 18);
    EXPECT_EQ(at(probe, 1).fontWeight(), 400);
    probe.post(EditorCommands::setFontSize, {{"size", QStringLiteral("30")}});
    probe.post(EditorCommands::setFontSize, {});
    EXPECT_EQ(EditorFonts::size(at(probe, 1)), 18);

    probe.post(EditorCommands::applyTitleStyle);
    EXPECT_EQ(EditorFonts::size(at(probe, 1)), 22);
    EXPECT_EQ(at(probe, 1).fontWeight(), 700);
    probe.post(EditorCommands::applyHeadingStyle);
    EXPECT_EQ(at(probe, 1).fontWeight(), 600);
    EXPECT_EQ(at(*reopened(probe), 1).fontWeight(), 600);
    probe.post(EditorCommands::applyCaptionStyle);
    EXPECT_EQ(EditorFonts::size(at(probe, 1)), 12);
    probe.post(EditorCommands::applyMonospacedStyle);
    EXPECT_EQ(at(probe, 1).fontFamilies().toStringList().value(0), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    EXPECT_EQ(EditorFonts::size(at(probe, 1)), 14);
    EXPECT_EQ(at(*reopened(probe), 1).fontFamilies().toStringList().value(0), QFontDatabase::systemFont(QFontDatabase::FixedFont).family());
    probe.post(EditorCommands::applyBodyStyle);
    EXPECT_EQ(at(probe, 1).fontFamilies().toStringList().value(0), QFontDatabase::systemFont(QFontDatabase::GeneralFont).family());
}

TEST(FormattingCommands, HighlightUsesTheStoredColourAndAnyHighlightSwitchesOff)
{
    EditorProbe probe(QStringLiteral("mark this"));
    probe.post(EditorCommands::setHighlightColor, {{"hex", QStringLiteral("#0A84FF")}});
    EXPECT_TRUE(probe.reports().empty());
    probe.select(0, 4);
    probe.post(EditorCommands::toggleHighlight);
    EXPECT_EQ(at(probe, 0).background().color(), QColor(0x0A, 0x84, 0xFF));
    EXPECT_EQ(at(*reopened(probe), 0).background().color(), QColor(0x0A, 0x84, 0xFF));
    probe.select(0, 9);
    probe.post(EditorCommands::toggleHighlight);
    for (int i = 0; i < 9; ++i)
        EXPECT_FALSE(at(probe, i).hasProperty(QTextFormat::BackgroundBrush)) << i;

    probe.caret(9);
    probe.post(EditorCommands::toggleHighlight);
    EXPECT_TRUE(probe.view().currentCharFormat().hasProperty(QTextFormat::BackgroundBrush));
    probe.post(EditorCommands::toggleHighlight);
    EXPECT_FALSE(probe.view().currentCharFormat().hasProperty(QTextFormat::BackgroundBrush));
}

TEST(FormattingCommands, TextColourTakesOnlyWellFormedHex)
{
    EditorProbe probe(QStringLiteral("ink"));
    probe.select(0, 3);
    for (const QVariant& bad : {QVariant(QStringLiteral("#12345")), QVariant(QStringLiteral("#GG0000")), QVariant(0xFF0000)})
        probe.post(EditorCommands::setTextColor, {{"hex", bad}});
    EXPECT_EQ(at(probe, 0).foreground().color(), QColor(Qt::black));
    EXPECT_TRUE(probe.reports().empty());
    probe.post(EditorCommands::setTextColor, {{"hex", QStringLiteral("  007aff ")}});
    EXPECT_EQ(at(probe, 0).foreground().color(), QColor(0x00, 0x7A, 0xFF));
    EXPECT_EQ(probe.states.back().value("textColorHex"), QStringLiteral("#007AFF"));
    EXPECT_EQ(at(*reopened(probe), 0).foreground().color(), QColor(0x00, 0x7A, 0xFF));
}

TEST(FormattingCommands, AlignmentTakesWholeParagraphsAndKeepsIndents)
{
    EditorProbe probe(QStringLiteral("one\ntwo\nthree"));
    QTextBlockFormat indented;
    indented.setLeftMargin(16);
    TextStorage(probe.document()).cursor({0, 0}).mergeBlockFormat(indented);
    probe.select(1, 5);
    probe.post(EditorCommands::setAlignment, {{"alignment", QStringLiteral("right")}});
    EXPECT_EQ(probe.document().findBlockByNumber(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(probe.document().findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(probe.document().findBlockByNumber(0).blockFormat().leftMargin(), 16);
    EXPECT_NE(probe.document().findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(probe.states.back().value("alignment"), QStringLiteral("right"));

    probe.select(9, 10);
    probe.post(EditorCommands::setAlignment, {{"alignment", QStringLiteral("middle")}});
    EXPECT_EQ(probe.document().findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    auto again = reopened(probe);
    EXPECT_EQ(again->document().findBlockByNumber(0).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(again->document().findBlockByNumber(2).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);

    // A caret inside a paragraph with text leaves it as it is.
    probe.caret(5);
    probe.post(EditorCommands::setAlignment, {{"alignment", QStringLiteral("justify")}});
    EXPECT_EQ(probe.document().findBlockByNumber(1).blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
}

TEST(FormattingCommands, TheDesktopShortcutsToggleBoldItalicAndUnderline)
{
    EditorProbe probe(QStringLiteral("keys"));
    probe.select(0, 4);
    QTest::keyClick(&probe.view(), Qt::Key_B, Qt::ControlModifier);
    QTest::keyClick(&probe.view(), Qt::Key_I, Qt::ControlModifier);
    QTest::keyClick(&probe.view(), Qt::Key_U, Qt::ControlModifier);
    EXPECT_EQ(at(probe, 2).fontWeight(), 700);
    EXPECT_TRUE(at(probe, 2).fontItalic());
    EXPECT_TRUE(at(probe, 2).fontUnderline());
    EXPECT_EQ(probe.string(), QStringLiteral("keys"));
}

} // namespace
