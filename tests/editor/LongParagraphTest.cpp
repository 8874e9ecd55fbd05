// A paragraph of megabytes is shown in pieces: whatever the user does there acts on the text
// they see, and the note keeps the paragraph as it was, character for character.
#include "EditorTestSupport.h"

#include "editor/LongParagraphSplit.h"
#include "editor/RichTextBody.h"
#include "rtf/ParagraphContinuation.h"

#include <QClipboard>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>

using namespace norvelle;
using norvelle::test::EditorProbe;

namespace {

// Words, with what a cut must not fall inside of (a surrogate pair, an accent, a flag) and
// what must not start a piece (a list dash, a number, a checklist token).
QString longLine(int characters)
{
    const QString words = QStringLiteral("word - 12. \u25CB e\u0301t\u00E9 \U0001F600\U0001F1EB\U0001F1F7 \u6F22\u5B57 text ");
    QString line;
    while (line.size() < characters)
        line += words;
    return line;
}

// Where the first piece after the first one starts.
int firstContinuation(const QTextDocument& document)
{
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (ParagraphContinuation::continues(block))
            return block.position();
    }
    return -1;
}

// What the editor saved last, against the body of its text with every paragraph whole.
void expectSavedAsWhole(EditorProbe& probe, const char* step)
{
    SCOPED_TRACE(step);
    const std::vector<EditorProbe::Report>& reports = probe.reports();
    ASSERT_GE(reports.size(), 2u);
    const std::unique_ptr<QTextDocument> whole(probe.document().clone());
    LongParagraphSplit::join(*whole);
    EXPECT_EQ(reports[reports.size() - 2].richData, encodeRichTextData(*whole, QColor(Qt::black)));
    EXPECT_EQ(reports.back().text, plainTextOf(*whole));
    probe.recorded.clear();
}

} // namespace

TEST(LongParagraphs, ALongLineIsShownInPiecesAndSavedAndReloadedByteForByte)
{
    const QString text = QStringLiteral("title\n") + longLine(700'000) + QStringLiteral("\nend");
    EditorProbe probe(text);
    ASSERT_GT(probe.document().blockCount(), 10);
    for (QTextBlock block = probe.document().begin(); block.isValid(); block = block.next()) {
        if (!ParagraphContinuation::continues(block))
            continue;
        const QChar first = block.text().at(0);
        EXPECT_TRUE(first.isLetter() && !first.isLowSurrogate()) << block.position();
    }
    EXPECT_EQ(plainTextOf(probe.document()), text);
    const std::optional<QByteArray> body = probe.editor->richData();
    ASSERT_TRUE(body);

    // The body is that of the paragraph whole.
    const std::unique_ptr<QTextDocument> whole(probe.document().clone());
    LongParagraphSplit::join(*whole);
    EXPECT_EQ(whole->blockCount(), 3);
    EXPECT_EQ(encodeRichTextData(*whole, QColor(Qt::black)), body);

    EditorProbe reopened(text, body);
    EXPECT_GT(reopened.document().blockCount(), 10);
    EXPECT_EQ(reopened.editor->richData(), body);
    EXPECT_EQ(plainTextOf(reopened.document()), text);
}

TEST(LongParagraphs, KeysAndCopyAtACutActOnTheTextTheUserSees)
{
    const QString line = longLine(300'000);
    EditorProbe probe(line);
    probe.view().setFocus();
    const int cut = firstContinuation(probe.document());
    ASSERT_GT(cut, 0);
    // The document holds one break before the cut that the text has not.
    const int atCut = cut - 1;

    QApplication::clipboard()->clear();
    probe.select(cut - 4, cut + 3);
    probe.view().copy();
    EXPECT_EQ(QApplication::clipboard()->text(), line.mid(cut - 4, 6));

    // The arrows pass the cut as they pass any character.
    probe.caret(cut - 1);
    QTest::keyClick(&probe.view(), Qt::Key_Right);
    EXPECT_EQ(probe.view().textCursor().position(), cut + 1);
    probe.caret(cut);
    QTest::keyClick(&probe.view(), Qt::Key_Left);
    EXPECT_EQ(probe.view().textCursor().position(), cut - 2);

    probe.caret(cut);
    QTest::keyClick(&probe.view(), Qt::Key_Backspace);
    QString expected = line;
    expected.remove(atCut - 1, 1);
    EXPECT_EQ(probe.reportedText(), expected);

    probe.caret(cut - 2);
    QTest::keyClick(&probe.view(), Qt::Key_Delete);
    expected.remove(atCut - 1, 1);
    EXPECT_EQ(probe.reportedText(), expected);

    // Return inside a piece breaks the line there, and the pieces after it still join.
    const int inPiece = firstContinuation(probe.document()) + 10;
    probe.caret(inPiece);
    QTest::keyClick(&probe.view(), Qt::Key_Return);
    expected.insert(inPiece - 1, u'\n');
    EXPECT_EQ(probe.reportedText(), expected);
    QTest::keyClick(&probe.view(), Qt::Key_Return);
    expected.insert(inPiece, u'\n');
    EXPECT_EQ(probe.reportedText(), expected);

    // Lines pasted inside a piece are lines of their own.
    QApplication::clipboard()->setText(QStringLiteral("one\ntwo"));
    probe.view().paste();
    expected.insert(inPiece + 1, QStringLiteral("one\ntwo"));
    EXPECT_EQ(probe.reportedText(), expected);
}

// A save writes again only the pieces of a long line that changed: whatever the edit left at
// a cut (a control word before it, a piece emptied, pieces joined), the body is the line's own.
TEST(LongParagraphs, EditsAtTheCutsSaveTheBodyOfTheLineWhole)
{
    EditorProbe probe(QStringLiteral("title\n") + longLine(400'000));
    probe.view().setFocus();
    std::vector<int> cuts = LongParagraphSplit::displayBreaks(probe.document());
    ASSERT_GE(cuts.size(), 6u);

    probe.caret(cuts[0]);
    QTest::keyClick(&probe.view(), Qt::Key_Tab);
    expectSavedAsWhole(probe, "a tab before a cut");
    probe.caret(cuts[0] + 100);
    QTest::keyClick(&probe.view(), Qt::Key_X);
    expectSavedAsWhole(probe, "a letter in the piece after it");

    cuts = LongParagraphSplit::displayBreaks(probe.document());
    QTextCursor piece(&probe.document());
    piece.setPosition(cuts[2] + 1);
    piece.setPosition(cuts[3], QTextCursor::KeepAnchor);
    piece.removeSelectedText();
    expectSavedAsWhole(probe, "a piece emptied");
    probe.caret(cuts[2] + 1);
    QTest::keyClick(&probe.view(), Qt::Key_Y);
    expectSavedAsWhole(probe, "a letter in the emptied piece");

    cuts = LongParagraphSplit::displayBreaks(probe.document());
    probe.select(cuts[4] - 10, cuts[5] + 10);
    QTest::keyClick(&probe.view(), Qt::Key_Backspace);
    expectSavedAsWhole(probe, "two pieces joined");
    QTest::keyClick(&probe.view(), Qt::Key_Z, Qt::ControlModifier);
    expectSavedAsWhole(probe, "undone");
    QTest::keyClick(&probe.view(), Qt::Key_Return);
    expectSavedAsWhole(probe, "a line break");
}

TEST(LongParagraphs, APastedLongLineIsShownInPiecesAndOneUndoTakesItBack)
{
    EditorProbe probe(QStringLiteral("before "));
    probe.caret(7);
    const QString line = longLine(600'000);
    QApplication::clipboard()->setText(line);
    probe.view().paste();
    EXPECT_GT(probe.document().blockCount(), 10);
    EXPECT_EQ(probe.reportedText(), QStringLiteral("before ") + line);

    probe.view().undoInPlace();
    EXPECT_EQ(probe.document().blockCount(), 1);
    EXPECT_EQ(probe.reportedText(), QStringLiteral("before "));
    probe.view().redoInPlace();
    EXPECT_EQ(probe.reportedText(), QStringLiteral("before ") + line);
}

// Dark paper turns a long note's text white without laying it out again: the view stays on the
// line it showed, and every line is drawn white.
TEST(LongParagraphs, DarkPaperOnALongNoteKeepsTheViewOnTheLineItShowed)
{
    QString text;
    for (int line = 0; text.size() < 400'000; ++line)
        text += QStringLiteral("line %1 of a long note\n").arg(line, 6, 10, QLatin1Char('0'));
    EditorProbe probe(text);
    probe.editor->show();
    const auto laidOut = [&probe] {
        const QTextBlock last = probe.document().lastBlock();
        return last.layout() && last.layout()->lineCount() > 0;
    };
    QTRY_VERIFY_WITH_TIMEOUT(laidOut(), 20000);
    probe.view().setTextCursor(QTextCursor(probe.document().findBlockByNumber(12000)));
    probe.view().ensureCursorVisible();
    const int shown = probe.view().cursorForPosition(QPoint(0, 0)).blockNumber();
    ASSERT_GT(shown, 11000);

    probe.editor->setAppearance(QColor(Qt::white), QStringLiteral("#1E1B4B"));
    QTRY_VERIFY_WITH_TIMEOUT(laidOut(), 20000);
    // The view goes back once the layout has reached the line, a turn or more after the end.
    const auto showsLineItShowed = [&] { return std::abs(probe.view().cursorForPosition(QPoint(0, 0)).blockNumber() - shown) <= 1; };
    QTRY_VERIFY_WITH_TIMEOUT(showsLineItShowed(), 20000);
    // Drawn in the paper's ink: no character carries a colour of its own.
    EXPECT_EQ(probe.view().palette().color(QPalette::Text), QColor(Qt::white));
    for (const int line : {0, shown, probe.document().blockCount() - 2})
        EXPECT_FALSE(probe.document().findBlockByNumber(line).begin().fragment().charFormat().hasProperty(QTextFormat::ForegroundBrush)) << line;
}
