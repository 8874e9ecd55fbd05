#include "EditorTestSupport.h"
#include "editor/EditorFonts.h"

#include "editor/ChecklistEditing.h"
#include "editor/EditorCommands.h"

#include <QApplication>
#include <QClipboard>
#include <QMimeData>
#include <QTest>
#include <gtest/gtest.h>

using namespace norvelle;
using namespace norvelle::test;

namespace {

std::optional<bool> boxAt(EditorProbe& probe, int start)
{
    TextStorage storage(probe.document());
    return ChecklistEditing(storage).checklistMarkerState(start, storage.lineRange(start).length);
}

TEST(RichTextEditorKeys, ReturnInsideAnItemSplitsItIntoANewOpenItem)
{
    EditorProbe probe(QStringLiteral("\u25CF milk bread"));
    probe.caret(7);
    QTest::keyClick(&probe.view(), Qt::Key_Return);
    EXPECT_EQ(probe.string(), box + "milk \n" + box + "bread");
    EXPECT_EQ(boxAt(probe, 0), true);
    EXPECT_EQ(boxAt(probe, 8), false);
    EXPECT_EQ(probe.view().textCursor().position(), 10);
    EXPECT_EQ(probe.reports().back().text, QStringLiteral("\u25CF milk \n\u25CB bread"));
}

TEST(RichTextEditorKeys, ReturnOnAnEmptyItemEndsTheList)
{
    EditorProbe probe(QStringLiteral("\u25CB milk\n\u25CB  "));
    probe.caret(int(probe.string().size()));
    QTest::keyClick(&probe.view(), Qt::Key_Return);
    EXPECT_EQ(probe.string(), box + "milk\n \n");
    EXPECT_FALSE(boxAt(probe, 7));
}

TEST(RichTextEditorKeys, ReturnAfterHighlightedTextDropsTheHighlight)
{
    EditorProbe probe(QStringLiteral("plain"));
    QTextCharFormat yellow;
    yellow.setBackground(Qt::yellow);
    probe.caret(5);
    probe.view().setCurrentCharFormat(yellow);
    QTest::keyClicks(&probe.view(), QStringLiteral("lit"));
    QTest::keyClick(&probe.view(), Qt::Key_Return);
    QTest::keyClicks(&probe.view(), QStringLiteral("next"));
    EXPECT_EQ(probe.string(), QStringLiteral("plainlit\nnext"));
    TextStorage storage(probe.document());
    EXPECT_TRUE(storage.charFormat(6).hasProperty(QTextFormat::BackgroundBrush));
    EXPECT_FALSE(storage.charFormat(10).hasProperty(QTextFormat::BackgroundBrush));
}

TEST(RichTextEditorKeys, PlainReturnTabAndEscapeKeepTheirUsualActions)
{
    EditorProbe probe(QStringLiteral("- item"));
    probe.caret(6);
    QTest::keyClick(&probe.view(), Qt::Key_Return);
    QTest::keyClick(&probe.view(), Qt::Key_Tab);
    QTest::keyClick(&probe.view(), Qt::Key_Escape);
    EXPECT_EQ(probe.string(), QStringLiteral("- item\n\t"));
}

TEST(RichTextEditorKeys, UndoAndRedoSpanTypingAndCommands)
{
    EditorProbe probe;
    QTest::keyClicks(&probe.view(), QStringLiteral("milk"));
    probe.post(EditorCommands::insertChecklist);
    EXPECT_EQ(probe.string(), box + "milk");
    QTest::keyClick(&probe.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(probe.string(), QStringLiteral("milk"));
    EXPECT_EQ(probe.reports().back().text, QStringLiteral("milk"));
    QTest::keyClick(&probe.view(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(probe.string(), box + "milk");
    QTest::keyClick(&probe.view(), Qt::Key_Z, Qt::ControlModifier);
    QTest::keyClick(&probe.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(probe.string(), QString());
}

TEST(RichTextEditorKeys, UndoTakesATypedTokenAndItsBoxBackTogether)
{
    EditorProbe probe;
    typeText(probe.view(), QStringLiteral("\u25CB "));
    EXPECT_EQ(probe.string(), box);
    QTest::keyClick(&probe.view(), Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(probe.string(), QStringLiteral("\u25CB"));
    QTest::keyClick(&probe.view(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_EQ(probe.string(), box);
}

TEST(RichTextEditorPaste, ImagesAreRefusedAndHtmlKeepsOnlyWhatANoteHolds)
{
    EditorProbe probe;
    auto* image = new QMimeData;
    image->setImageData(QImage(4, 4, QImage::Format_ARGB32));
    QApplication::clipboard()->setMimeData(image);
    QTest::keyClick(&probe.view(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(probe.string(), QString());

    auto* html = new QMimeData;
    html->setHtml(QStringLiteral("<p><b>bold</b><img src=\"file:///dev/zero\"> text</p><ul><li>one</li></ul>"));
    QApplication::clipboard()->setMimeData(html);
    QTest::keyClick(&probe.view(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(probe.string(), QStringLiteral("bold text\none"));
    EXPECT_EQ(TextStorage(probe.document()).charFormat(1).fontWeight(), 700);
}

TEST(RichTextEditorPaste, PastedHtmlKeepsItsSizesAndUnsizedTextTakesTheNotesSize)
{
    EditorProbe probe;
    QTest::keyClicks(&probe.view(), QStringLiteral("typed "));
    auto* html = new QMimeData;
    html->setHtml(QStringLiteral(
        "<p>plain <span style=\"font-size:32px\">pixels</span> <span style=\"font-size:20pt\">points</span></p>"));
    QApplication::clipboard()->setMimeData(html);
    QTest::keyClick(&probe.view(), Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(probe.string(), QStringLiteral("typed plain pixels points"));
    const QString text = probe.string();
    // The size each character shows at, its own or the editor's.
    const auto shownSize = [&](const QString& word) {
        const QTextCharFormat format = TextStorage(probe.document()).charFormat(int(text.indexOf(word)) + 1);
        return EditorFonts::size(format).value_or(EditorFonts::size(probe.document().defaultFont()));
    };
    EXPECT_EQ(shownSize(QStringLiteral("typed")), RichTextEditor::defaultFontSize);
    EXPECT_EQ(shownSize(QStringLiteral("plain")), RichTextEditor::defaultFontSize);
    // A note's point is a CSS pixel; a CSS point is a third larger.
    EXPECT_EQ(shownSize(QStringLiteral("pixels")), 32);
    EXPECT_EQ(shownSize(QStringLiteral("points")), 27);
}

TEST(RichTextEditorPaste, SeveralMegabytesOfTextArePastedWhole)
{
    EditorProbe probe;
    QString big;
    for (int i = 0; i < 60000; ++i)
        big += QStringLiteral("\u25CB line %1 with some words in it\n").arg(i);
    QApplication::clipboard()->setText(big);
    QTest::keyClick(&probe.view(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(probe.string().size(), big.size());
    EXPECT_EQ(boxAt(probe, 0), false);
    EXPECT_TRUE(probe.editor->richData());
}

} // namespace
