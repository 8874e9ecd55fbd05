#include "EditorTestSupport.h"

#include "editor/ChecklistEditing.h"
#include "editor/EditorCommands.h"
#include "editor/RichTextBody.h"
#include "editor/RichTextEditorCoordinator.h"
#include "rtf/RichTextCodec.h"

#include <QApplication>
#include <QClipboard>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>
#include <gtest/gtest.h>

using namespace norvelle;
using namespace norvelle::test;

namespace {

QByteArray bodyOf(const QString& text, const QTextCharFormat& format)
{
    QTextDocument document;
    QTextCursor(&document).insertText(text, format);
    return RichTextCodec::writeRtf(document);
}

QByteArray boldBody(const QString& text)
{
    QTextCharFormat bold;
    bold.setFontWeight(700);
    return bodyOf(text, bold);
}

TEST(RichTextEditorLoading, PlainTextShowsItsBoxes)
{
    EditorProbe probe(QStringLiteral("\uFFFC milk\n\u25CF bread\nplain"));
    EXPECT_EQ(probe.string(), box + "milk\n" + box + "bread\nplain");
    TextStorage storage(probe.document());
    EXPECT_EQ(ChecklistEditing(storage).checklistMarkerState(7, 7), true);
    EXPECT_TRUE(probe.reports().empty());
}

TEST(RichTextEditorLoading, AMatchingBodyKeepsItsFormattingAndAStaleOneTakesThePlainText)
{
    EditorProbe matching(QStringLiteral("hello"), boldBody(QStringLiteral("hello")));
    EXPECT_EQ(TextStorage(matching.document()).charFormat(1).fontWeight(), 700);

    // A checklist's plain text holds its markers; notes from before held U+FFFC for them.
    QTextCharFormat underlined;
    underlined.setFontUnderline(true);
    for (const QString& plain : {QStringLiteral("\u25CF tea"), QStringLiteral("\uFFFC tea")}) {
        EditorProbe checklist(plain, bodyOf(QStringLiteral("\u25CF tea"), underlined));
        EXPECT_TRUE(TextStorage(checklist.document()).charFormat(3).fontUnderline());
    }

    // The plain text changed elsewhere wins; what it left alone keeps its formatting.
    EditorProbe stale(QStringLiteral("hello again"), boldBody(QStringLiteral("hello")));
    EXPECT_EQ(stale.string(), QStringLiteral("hello again"));
    EXPECT_EQ(TextStorage(stale.document()).charFormat(1).fontWeight(), 700);

    EditorProbe broken(QStringLiteral("kept"), QByteArray("not rich at all"));
    EXPECT_EQ(broken.string(), QStringLiteral("kept"));
    EditorProbe empty(QStringLiteral("kept"), QByteArray());
    EXPECT_EQ(empty.string(), QStringLiteral("kept"));
}

TEST(RichTextEditorLoading, APlainTextChangedElsewhereInATableCellOrABoxKeepsTheTableAndTheBoxes)
{
    QTextDocument written;
    QTextCursor cursor(&written);
    cursor.insertText(QStringLiteral("Plan"));
    cursor.insertTable(1, 2);
    cursor.insertText(QStringLiteral("tea"));
    cursor.movePosition(QTextCursor::End);
    cursor.insertText(QString::fromUtf8("\u25CB milk"));
    const QString before = plainTextOf(written);

    QString after = before;
    after.replace(QStringLiteral("tea"), QStringLiteral("green tea")).replace(QString::fromUtf8("\u25CB milk"), QString::fromUtf8("\u25CF milk"));
    EditorProbe probe(after, RichTextCodec::writeRtf(written));
    EXPECT_EQ(plainTextOf(probe.document()), after);
    EXPECT_TRUE(probe.document().find(QStringLiteral("green tea")).currentTable());
    TextStorage storage(probe.document());
    const int milk = int(probe.string().lastIndexOf(QChar::ObjectReplacementCharacter));
    EXPECT_EQ(ChecklistEditing(storage).checklistMarkerState(milk, milk), true);
}

TEST(RichTextEditorLoading, AnUpdateReloadsOnlyWhenThePlainTextDiffers)
{
    EditorProbe probe(QStringLiteral("hello"), boldBody(QStringLiteral("hello")));
    probe.caret(3);
    probe.editor->update(QStringLiteral("hello"), QByteArray("whatever"));
    EXPECT_EQ(probe.view().textCursor().position(), 3);
    EXPECT_EQ(TextStorage(probe.document()).charFormat(1).fontWeight(), 700);

    probe.editor->update(QStringLiteral("synced text"), boldBody(QStringLiteral("hello")));
    EXPECT_EQ(probe.string(), QStringLiteral("synced text"));
    probe.editor->update(QStringLiteral("bold again"), boldBody(QStringLiteral("bold again")));
    EXPECT_EQ(TextStorage(probe.document()).charFormat(1).fontWeight(), 700);
    EXPECT_TRUE(probe.reports().empty());
}

// Wrapping a long run at word boundaries rescans the rest of the run for every line: 200 KB on
// one line took half a minute to show, 10 MB never came.
TEST(RichTextEditorLoading, ALineWithNoPlaceToBreakIsWrappedAnywhereAndOrdinaryTextAtWords)
{
    const QString run(200'000, u'q');
    EditorProbe ordinary(QStringLiteral("words and a link https://example.com/%1\n").arg(QString(900, u'x')).repeated(50));
    EXPECT_EQ(ordinary.view().wordWrapMode(), QTextOption::WrapAtWordBoundaryOrAnywhere);

    EditorProbe loaded(QStringLiteral("title\n") + run);
    EXPECT_EQ(loaded.view().wordWrapMode(), QTextOption::WrapAnywhere);
    EXPECT_EQ(loaded.string().size(), run.size() + 6);

    // Pasted: the wrap changes before the text is laid out.
    QApplication::clipboard()->setText(run);
    ordinary.view().paste();
    EXPECT_EQ(ordinary.view().wordWrapMode(), QTextOption::WrapAnywhere);
    EXPECT_TRUE(ordinary.string().contains(run));

    // Typed, key by key: from the next turn on.
    EditorProbe typed(QString(999, u'k'));
    typeText(typed.view(), QStringLiteral("kk"));
    QApplication::processEvents();
    EXPECT_EQ(typed.view().wordWrapMode(), QTextOption::WrapAnywhere);
}

// A note of left-to-right text is laid out left to right without Qt looking for each
// paragraph's direction; right-to-left text loaded, typed or pasted still reads right to left.
TEST(RichTextEditorLoading, RightToLeftParagraphsReadRightToLeftInANoteOfLatinText)
{
    const QString hebrew = QStringLiteral("\u05E9\u05DC\u05D5\u05DD");
    const QString arabic = QStringLiteral("\u0645\u0631\u062D\u0628\u0627");
    const auto directionAt = [](EditorProbe& probe, int position) {
        return probe.document().findBlock(position).textDirection();
    };
    EditorProbe loaded(QStringLiteral("latin\n") + hebrew);
    EXPECT_EQ(directionAt(loaded, 0), Qt::LeftToRight);
    EXPECT_EQ(directionAt(loaded, 6), Qt::RightToLeft);

    EditorProbe typed(QStringLiteral("latin\nmore latin"));
    typed.caret(typed.string().size());
    QTest::keyClick(&typed.view(), Qt::Key_Return);
    typeText(typed.view(), arabic);
    QApplication::processEvents();
    EXPECT_EQ(directionAt(typed, 0), Qt::LeftToRight);
    EXPECT_EQ(directionAt(typed, int(typed.string().size()) - 1), Qt::RightToLeft);

    EditorProbe pasted(QStringLiteral("latin\n"));
    pasted.caret(6);
    QApplication::clipboard()->setText(hebrew);
    pasted.view().paste();
    QApplication::processEvents();
    EXPECT_EQ(directionAt(pasted, 6), Qt::RightToLeft);
}

// Each report encodes the whole body and saves the note: a large note lagged behind every key.
TEST(RichTextEditorEdits, KeysThatArriveTogetherAreReportedOnceTheBodyAndThenTheText)
{
    EditorProbe probe;
    probe.view().setFocus();
    QTest::keyClicks(&probe.view(), QStringLiteral("hi"));
    EXPECT_TRUE(probe.recorded.empty());
    QApplication::processEvents();
    ASSERT_EQ(probe.recorded.size(), 2u);
    EXPECT_EQ(probe.recorded[0].kind, EditorProbe::Report::RichData);
    ASSERT_TRUE(probe.recorded[0].richData);
    EXPECT_EQ(RichTextCodec::plainText(*probe.recorded[0].richData), QStringLiteral("hi"));
    EXPECT_EQ(probe.recorded[1].kind, EditorProbe::Report::Text);
    EXPECT_EQ(probe.recorded[1].text, QStringLiteral("hi"));
    EXPECT_EQ(probe.reportedText(), QStringLiteral("hi"));

    QTest::keyClick(&probe.view(), Qt::Key_A);
    QApplication::processEvents();
    ASSERT_EQ(probe.recorded.size(), 4u);
    EXPECT_EQ(probe.recorded[3].text, QStringLiteral("hia"));
    QApplication::processEvents();
    EXPECT_EQ(probe.recorded.size(), 4u);
}

TEST(RichTextEditorEdits, EmptyingTheTextReportsNoBodyThenAnEmptyText)
{
    EditorProbe probe(QStringLiteral("x"));
    probe.caret(1);
    QTest::keyClick(&probe.view(), Qt::Key_Backspace);
    ASSERT_EQ(probe.reports().size(), 2u);
    EXPECT_EQ(probe.reports()[0].kind, EditorProbe::Report::RichData);
    EXPECT_FALSE(probe.reports()[0].richData);
    EXPECT_EQ(probe.reports()[1].text, QString());
}

TEST(RichTextEditorEdits, TypedTokensBecomeBoxesAndTheBodyStoresTokens)
{
    EditorProbe probe;
    typeText(probe.view(), QStringLiteral("\u25CF tea"));
    EXPECT_EQ(probe.string(), box + "tea");
    EXPECT_EQ(probe.reports().back().text, QStringLiteral("\u25CF tea"));
    EXPECT_EQ(RichTextCodec::plainText(*probe.editor->richData()), QStringLiteral("\u25CF tea"));
}

TEST(RichTextEditorCommands, AChecklistCommandWritesTheBodyBeforeTheText)
{
    EditorProbe probe(QStringLiteral("milk"));
    probe.caret(2);
    probe.post(EditorCommands::insertChecklist);
    EXPECT_EQ(probe.string(), box + "milk");
    EXPECT_EQ(probe.view().textCursor().position(), 4);
    ASSERT_EQ(probe.reports().size(), 2u);
    EXPECT_EQ(probe.reports()[0].kind, EditorProbe::Report::RichData);
    EXPECT_EQ(RichTextCodec::plainText(*probe.reports()[0].richData), QStringLiteral("\u25CB milk"));
    EXPECT_EQ(probe.reports()[1].text, QStringLiteral("\u25CB milk"));
}

TEST(RichTextEditorCommands, ACommandReachesOnlyItsOwnEditor)
{
    EditorProbe first(QStringLiteral("one"));
    EditorProbe second(QStringLiteral("two"));
    first.post(EditorCommands::insertChecklist);
    EXPECT_EQ(first.string(), box + "one");
    EXPECT_EQ(second.string(), QStringLiteral("two"));

    // No object: only the editor of the active window.
    second.editor->show();
    second.editor->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(second.editor.get()));
    NotificationCenter::defaultCenter().post(EditorCommands::insertChecklist);
    EXPECT_EQ(second.string(), box + "two");
    EXPECT_EQ(first.string(), box + "one");

    // Another object altogether: nobody.
    int stranger = 0;
    NotificationCenter::defaultCenter().post(EditorCommands::insertChecklist, &stranger);
    EXPECT_EQ(second.string(), box + "two");
}

TEST(RichTextEditorState, TheBroadcastCarriesTheEditorAndRoundsTheSize)
{
    QTextDocument document;
    QTextCharFormat a;
    a.setFontPointSize(13.5);
    QTextCharFormat b;
    b.setFontPointSize(12.49);
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("ab"), a);
    cursor.insertText(QStringLiteral("cd"), b);
    EditorProbe probe(QStringLiteral("abcd"), RichTextCodec::writeRtf(document));
    probe.caret(1);
    ASSERT_FALSE(probe.states.empty());
    EXPECT_EQ(probe.states.back().value("fontSize"), 14);
    // 12.49 points are stored as 12.5 and drawn at 13 pixels: the size shown.
    probe.caret(3);
    EXPECT_EQ(probe.states.back().value("fontSize"), 13);
    EXPECT_EQ(probe.states.back().value("textColorHex"), QStringLiteral("#000000"));
    EXPECT_EQ(probe.states.back().value("highlightHex"), QStringLiteral("#FFFF00"));
    EXPECT_EQ(probe.states.back().value("alignment"), QStringLiteral("left"));
    EXPECT_EQ(probe.states.back().value("listStyle"), QStringLiteral("none"));
    EXPECT_EQ(probe.states.back().value("isQuoted"), false);
}

TEST(RichTextEditorState, TheCaretAtTheEndReportsNoTableAndNoState)
{
    EditorProbe probe(QStringLiteral("abc"));
    QSignalSpy table(probe.editor.get(), &RichTextEditor::selectionTableStateChanged);
    probe.caret(1);
    const size_t states = probe.states.size();
    probe.caret(3);
    ASSERT_EQ(table.size(), 2);
    EXPECT_FALSE(table.back().front().toBool());
    EXPECT_EQ(probe.states.size(), states);
    QTest::keyClick(&probe.view(), Qt::Key_D);
    EXPECT_GT(probe.states.size(), states);
}

TEST(RichTextEditorAppearance, DefaultTextIsDrawnInThePapersInkAndANewPaperChangesNoCharacter)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    QTextCharFormat red;
    red.setForeground(QColor(Qt::red));
    QTextCharFormat nearBlack;
    nearBlack.setForeground(QColor(4, 4, 4));
    QTextCharFormat grey;
    grey.setForeground(QColor(6, 6, 6));
    cursor.insertText(QStringLiteral("a"), nearBlack);
    cursor.insertText(QStringLiteral("b"), red);
    cursor.insertText(QStringLiteral("c"), grey);
    cursor.insertText(QStringLiteral("d"), QTextCharFormat());
    EditorProbe probe(QStringLiteral("abcd"), RichTextCodec::writeRtf(document));
    TextStorage storage(probe.document());
    // The colour a character is drawn in: its own, else the paper's ink.
    const auto shown = [&probe](const QTextCharFormat& format) {
        return format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color()
                                                                : probe.view().palette().color(QPalette::Text);
    };
    EXPECT_EQ(shown(storage.charFormat(3)), QColor(Qt::black));
    EXPECT_EQ(shown(storage.charFormat(0)), QColor(Qt::black)) << "within 0.02 of the default is the default";
    const QString characters = probe.document().toRawText();
    int changes = 0;
    QObject::connect(&probe.document(), &QTextDocument::contentsChange, [&changes] { ++changes; });

    probe.editor->setAppearance(Qt::white, QStringLiteral("#1C1C1E"));
    EXPECT_EQ(shown(storage.charFormat(0)), QColor(Qt::white));
    EXPECT_EQ(shown(storage.charFormat(1)), QColor(Qt::red));
    EXPECT_EQ(shown(storage.charFormat(2)), QColor(6, 6, 6));
    EXPECT_EQ(shown(storage.charFormat(3)), QColor(Qt::white));
    EXPECT_EQ(shown(probe.view().currentCharFormat()), QColor(Qt::white));
    EXPECT_EQ(changes, 0);
    EXPECT_TRUE(probe.reports().empty());
}

TEST(RichTextEditorAppearance, AThemeColourBakedIntoAnOlderBodyReadsAsTheDefault)
{
    // White default text from dark paper, stored by an older version, opened on light paper.
    QTextCharFormat white;
    white.setForeground(QColor(Qt::white));
    QTextCharFormat red;
    red.setForeground(QColor(Qt::red));
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QStringLiteral("ab"), white);
    cursor.insertText(QStringLiteral("c"), red);
    EditorProbe probe(QStringLiteral("abc"), RichTextCodec::writeRtf(document));
    TextStorage storage(probe.document());
    EXPECT_EQ(storage.charFormat(0).foreground().color(), QColor(Qt::black));
    EXPECT_EQ(storage.charFormat(2).foreground().color(), QColor(Qt::red));

    // What it stores from now on names no default colour, only the user's red.
    QTest::keyClick(&probe.view(), Qt::Key_End);
    typeText(probe.view(), QStringLiteral("d"));
    const std::unique_ptr<QTextDocument> stored = RichTextCodec::readRtf(*probe.reports().front().richData);
    ASSERT_TRUE(stored);
    TextStorage body(*stored);
    EXPECT_FALSE(body.charFormat(0).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(body.charFormat(2).foreground().color(), QColor(Qt::red));
}

} // namespace
