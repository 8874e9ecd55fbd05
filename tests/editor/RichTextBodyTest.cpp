#include "editor/RichTextBody.h"
#include "editor/ChecklistEditing.h"
#include "editor/ChecklistMarkerAttachment.h"
#include "editor/EditorFonts.h"
#include "editor/TextStorage.h"

#include <QTextCursor>
#include <QTextDocument>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

const QString box = QStringLiteral("\uFFFC ");

void insertBox(QTextCursor& cursor, bool checked, bool withSpace = true)
{
    cursor.insertText(QString(QChar::ObjectReplacementCharacter), ChecklistMarkerAttachment::format(checked));
    if (withSpace)
        cursor.insertText(QStringLiteral(" "), QTextCharFormat());
}

QString decodedText(const std::optional<QByteArray>& data)
{
    if (!data)
        return QStringLiteral("<none>");
    const std::unique_ptr<QTextDocument> document = decodeRichTextData(*data);
    return document ? TextStorage(*document).string() : QStringLiteral("<undecodable>");
}

TEST(RichTextBody, BoxesBecomeTokensAndComeBackAsBoxes)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    insertBox(cursor, false);
    cursor.insertText(QStringLiteral("milk\n"));
    insertBox(cursor, true);
    cursor.insertText(QStringLiteral("bread"));

    const std::optional<QByteArray> data = encodeRichTextData(document);
    EXPECT_EQ(decodedText(data), QStringLiteral("\u25CB milk\n\u25CF bread"));
    // The editor's own text keeps its boxes.
    EXPECT_EQ(TextStorage(document).string(), box + "milk\n" + box + "bread");

    std::unique_ptr<QTextDocument> loaded = decodeRichTextData(*data);
    TextStorage storage(*loaded);
    ChecklistEditing(storage).normalizeChecklistMarkers();
    EXPECT_EQ(storage.string(), box + "milk\n" + box + "bread");
    EXPECT_EQ(ChecklistEditing(storage).checklistMarkerState(0, 6), false);
    EXPECT_EQ(ChecklistEditing(storage).checklistMarkerState(7, 7), true);
}

TEST(RichTextBody, EveryBoxIsReplacedAlsoWithoutItsSpaceOrSideBySide)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    for (int line = 0; line < 5; ++line) {
        insertBox(cursor, line % 2 == 1);
        cursor.insertText(QStringLiteral("item %1\n").arg(line));
    }
    insertBox(cursor, false, false);
    cursor.insertText(QStringLiteral("tight\n"));
    insertBox(cursor, true, false);
    insertBox(cursor, false);
    cursor.insertText(QStringLiteral("pair"));

    const QString text = decodedText(encodeRichTextData(document));
    EXPECT_EQ(text,
        QStringLiteral("\u25CB item 0\n\u25CF item 1\n\u25CB item 2\n\u25CF item 3\n\u25CB item 4\n"
                       "\u25CB tight\n\u25CF \u25CB pair"));
}

TEST(RichTextBody, EmptyTextWritesNoBody)
{
    QTextDocument empty;
    EXPECT_FALSE(encodeRichTextData(empty));
    QTextDocument formatted;
    QTextCursor(&formatted).insertText(QStringLiteral("x"));
    QTextCursor all(&formatted);
    all.select(QTextCursor::Document);
    all.removeSelectedText();
    EXPECT_FALSE(encodeRichTextData(formatted));
}

TEST(RichTextBody, BadBodiesDecodeToNothing)
{
    EXPECT_FALSE(decodeRichTextData(QByteArray()));
    EXPECT_FALSE(decodeRichTextData(QByteArray("plain words, not a document")));
    EXPECT_FALSE(decodeRichTextData(QByteArray("{\\rtf1\\ansi {\\fonttbl{\\f0 Arial;}}}")));
    EXPECT_FALSE(decodeRichTextData(QByteArray("\x00\x01\xff{\\rtf", 8)));
}

TEST(RichTextBody, TextWithoutASizeOfItsOwnKeepsTheSizeItShowsAt)
{
    QTextDocument document;
    QFont font = document.defaultFont();
    font.setPointSizeF(14);
    document.setDefaultFont(font);
    QTextCursor cursor(&document);
    QTextCharFormat large;
    large.setFontPointSize(22);
    large.setFontWeight(700);
    cursor.insertText(QStringLiteral("plain "));
    cursor.insertText(QStringLiteral("title"), large);
    const std::unique_ptr<QTextDocument> decoded = decodeRichTextData(*encodeRichTextData(document));
    ASSERT_TRUE(decoded);
    TextStorage storage(*decoded);
    EXPECT_EQ(storage.string(), QStringLiteral("plain title"));
    EXPECT_EQ(EditorFonts::size(storage.charFormat(0)), 14);
    EXPECT_EQ(EditorFonts::size(storage.charFormat(6)), 22);
    EXPECT_EQ(storage.charFormat(6).fontWeight(), 700);
}

} // namespace
