#include "rtf/RichTextCodec.h"
#include "RichTextDocumentDump.h"
#include "support/TestHome.h"

#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

QString systemFamily()
{
    return QFontDatabase::systemFont(QFontDatabase::GeneralFont).family();
}

QString monoFamily()
{
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

// A character format with every attribute the codec carries set explicitly.
struct Style {
    QString family = systemFamily();
    qreal size = 12;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    QColor foreground = {};
    QColor background = {};

    QTextCharFormat format() const
    {
        QTextCharFormat f;
        f.setFontFamilies({family});
        f.setFontPointSize(size);
        f.setFontWeight(weight);
        f.setFontItalic(italic);
        f.setFontUnderline(underline);
        f.setFontStrikeOut(strike);
        if (foreground.isValid())
            f.setForeground(foreground);
        if (background.isValid())
            f.setBackground(background);
        return f;
    }
};

QTextBlockFormat block(Qt::Alignment alignment = {}, qreal left = 0, qreal first = 0, qreal before = 0, qreal after = 0)
{
    QTextBlockFormat f;
    if (alignment)
        f.setAlignment(alignment);
    if (left != 0)
        f.setLeftMargin(left);
    if (first != 0)
        f.setTextIndent(first);
    if (before != 0)
        f.setTopMargin(before);
    if (after != 0)
        f.setBottomMargin(after);
    return f;
}

std::unique_ptr<QTextDocument> roundTrip(const QTextDocument& document)
{
    auto read = RichTextCodec::readRtf(RichTextCodec::writeRtf(document));
    EXPECT_TRUE(read);
    return read;
}

void expectRoundTrip(const QTextDocument& document)
{
    const auto read = roundTrip(document);
    ASSERT_TRUE(read);
    EXPECT_EQ(test::dumpRichText(*read).toStdString(), test::dumpRichText(document).toStdString());
    EXPECT_EQ(read->toRawText(), document.toRawText());
    const QByteArray once = RichTextCodec::writeRtf(document);
    EXPECT_EQ(RichTextCodec::writeRtf(*read), once) << once.toStdString();
}

// Fills a cell; the cell's own format is also its first paragraph's mark format.
void insertCell(QTextTable* table, int row, int column, const QStringList& paragraphs, const Style& style = {})
{
    QTextTableCell cell = table->cellAt(row, column);
    const QTextTableCellFormat cellFormat = cell.format().toTableCellFormat();
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setBlockFormat(block());
    for (int i = 0; i < paragraphs.size(); ++i) {
        if (i > 0)
            cursor.insertBlock(block(), style.format());
        cursor.insertText(paragraphs[i], style.format());
    }
    QTextCharFormat merged = style.format();
    merged.merge(cellFormat);
    cell.setFormat(merged);
}

QTextTableCellFormat cellFormat(qreal border, const QColor& borderColor, const QColor& background, qreal padding)
{
    QTextTableCellFormat f;
    f.setBorder(border);
    f.setBorderStyle(QTextFrameFormat::BorderStyle_Solid);
    if (borderColor.isValid())
        f.setBorderBrush(borderColor);
    if (background.isValid())
        f.setBackground(background);
    f.setPadding(padding);
    return f;
}

// Intro paragraph, a 3x2 table with a two-paragraph cell and awkward characters, a closing
// paragraph.
std::unique_ptr<QTextDocument> documentWithTable(const QList<QTextLength>& widths)
{
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    cursor.setBlockFormat(block());
    cursor.setBlockCharFormat(Style {}.format());
    cursor.insertText("Before the table", Style {}.format());
    QTextTableFormat format;
    format.setColumnWidthConstraints(widths);
    QTextTable* table = cursor.insertTable(3, 2, format);
    for (int row = 0; row < 3; ++row) {
        for (int column = 0; column < 2; ++column) {
            table->cellAt(row, column).setFormat(cellFormat(row + 0.5, row == 1 ? QColor("#336699") : QColor(), column == 1 ? QColor("#ffeecc") : QColor(), 2 + column));
        }
    }
    insertCell(table, 0, 0, {"Head", "second paragraph"}, Style {.weight = 700});
    insertCell(table, 0, 1, {QString("anchor") + QChar(0x200B) + "here"});
    insertCell(table, 1, 0, {QString::fromUtf8("emoji \xF0\x9F\x98\x80 outside the BMP")});
    insertCell(table, 1, 1, {"a\tb"});
    insertCell(table, 2, 0, {QString("line") + QChar::LineSeparator + "break"});
    insertCell(table, 2, 1, {});
    cursor = table->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.setBlockFormat(block());
    cursor.setBlockCharFormat(Style {}.format());
    cursor.insertText("After the table", Style {.italic = true}.format());
    return document;
}

} // namespace

TEST(RichTextCodecTest, EveryCharacterAttributeSurvivesRoundTrip)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.setBlockFormat(block());
    cursor.setBlockCharFormat(Style {}.format());
    const Style styles[] = {
        {},
        {.family = monoFamily()},
        {.family = "DejaVu Serif"},
        {.family = QString::fromUtf8("Noto Sans 中文")},
        {.weight = 600},
        {.weight = 700},
        {.weight = 800},
        {.weight = 400},
        {.weight = 800, .italic = true},
        {.size = 9},
        {.size = 13},
        {.size = 72},
        {.size = 10.5},
        {.underline = true},
        {.strike = true},
        {.foreground = QColor("#ff0000")},
        {.foreground = QColor::fromRgb(0, 128, 255, 128)},
        {.foreground = QColor::fromRgb(10, 20, 30, 0)},
        {.background = QColor("#ffff00")},
        {.foreground = QColor("#ff0000"), .background = QColor::fromRgb(0, 128, 255, 128)},
        {.family = "Courier New", .size = 14, .weight = 700, .italic = true, .underline = true, .strike = true, .foreground = QColor("#123456"), .background = QColor("#abcdef")},
    };
    int n = 0;
    for (const Style& style : styles)
        cursor.insertText(QStringLiteral("run %1 ").arg(n++), style.format());
    expectRoundTrip(document);
}

TEST(RichTextCodecTest, ParagraphAttributesSurviveRoundTrip)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const QTextBlockFormat formats[] = {
        block(),
        block(Qt::AlignLeft | Qt::AlignAbsolute),
        block(Qt::AlignHCenter),
        block(Qt::AlignRight),
        block(Qt::AlignJustify),
        block({}, 36, -18, 6, 12),
        block(Qt::AlignHCenter, 0.5, 0, 0, 100),
    };
    bool first = true;
    for (const QTextBlockFormat& format : formats) {
        if (!first)
            cursor.insertBlock();
        first = false;
        cursor.setBlockFormat(format);
        cursor.setBlockCharFormat(Style {}.format());
        cursor.insertText("paragraph", Style {}.format());
    }
    expectRoundTrip(document);
}

TEST(RichTextCodecTest, EveryCharacterSurvivesRoundTrip)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.setBlockCharFormat(Style {}.format());
    const QString text = QString::fromUtf8("tab\there, zero\u200Bwidth, line\u2028separator, braces {}\\ "
                                           "accents é ü ß, 中文, emoji 😀👍🏽, markers ○ ● • - 1. "
                                           "nbsp\u00A0soft\u00ADdash, quotes “”‘’, ~*?;");
    cursor.insertText(text, Style {}.format());
    cursor.insertBlock(block(), Style {}.format());
    cursor.insertBlock(block(), Style {.size = 20}.format());
    cursor.insertBlock(block(), Style {}.format());
    cursor.insertText("○ milk", Style {}.format());
    expectRoundTrip(document);
}

TEST(RichTextCodecTest, TablesSurviveRoundTrip)
{
    for (const QList<QTextLength>& widths : {
             QList<QTextLength> {QTextLength(QTextLength::PercentageLength, 30), QTextLength(QTextLength::PercentageLength, 70)},
             QList<QTextLength> {QTextLength(QTextLength::FixedLength, 120), QTextLength(QTextLength::FixedLength, 55.5)},
             QList<QTextLength> {},
         }) {
        const auto document = documentWithTable(widths);
        const auto read = roundTrip(*document);
        ASSERT_TRUE(read);
        QString expected = test::dumpRichText(*document);
        if (widths.isEmpty())
            expected.replace("widths\n", "widths 0:0 0:0\n");
        EXPECT_EQ(test::dumpRichText(*read).toStdString(), expected.toStdString());
        EXPECT_TRUE(expected.contains("cell 1,1 borders=1.5/1.5/1.5/1.5 #ff336699/#ff336699/#ff336699/#ff336699 "
                                      "bg=#ffffeecc pad=3/3/3/3"))
            << expected.toStdString();
        EXPECT_EQ(read->toRawText(), document->toRawText());
        EXPECT_EQ(RichTextCodec::writeRtf(*read), RichTextCodec::writeRtf(*document));
    }
}

TEST(RichTextCodecTest, TablesAtTheEdgesAndSideBySideSurviveRoundTrip)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.setBlockCharFormat(Style {}.format());
    QTextTable* first = cursor.insertTable(1, 1);
    first->cellAt(0, 0).setFormat(cellFormat(1, {}, {}, 0));
    insertCell(first, 0, 0, {"first"});
    cursor = first->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.setBlockCharFormat(Style {}.format());
    QTextTable* second = cursor.insertTable(2, 3);
    for (int r = 0; r < 2; ++r) {
        for (int c = 0; c < 3; ++c) {
            second->cellAt(r, c).setFormat(cellFormat(0, {}, {}, 1));
            insertCell(second, r, c, {QString::number(r * 3 + c)});
        }
    }
    cursor = second->lastCursorPosition();
    cursor.movePosition(QTextCursor::NextBlock);
    cursor.setBlockCharFormat(Style {}.format());
    const auto read = roundTrip(document);
    ASSERT_TRUE(read);
    const QByteArray once = RichTextCodec::writeRtf(document);
    EXPECT_EQ(RichTextCodec::writeRtf(*read), once);
    EXPECT_EQ(read->toRawText(), document.toRawText());
    // The empty paragraphs Qt keeps before each table are one line each, no more, no less.
    EXPECT_EQ(RichTextCodec::plainText(once), QStringLiteral("\nfirst\n\n0\n1\n2\n3\n4\n5\n"));
    EXPECT_EQ(RichTextCodec::plainText(once), document.toPlainText());
}

TEST(RichTextCodecTest, SameDocumentGivesSameBytes)
{
    const auto a = documentWithTable({});
    const auto b = documentWithTable({});
    const QByteArray bytes = RichTextCodec::writeRtf(*a);
    EXPECT_EQ(RichTextCodec::writeRtf(*a), bytes);
    EXPECT_EQ(RichTextCodec::writeRtf(*b), bytes);
    EXPECT_TRUE(bytes.startsWith("{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0"));
    EXPECT_TRUE(bytes.contains("{\\fonttbl{\\f0\\fnil\\fcharset0 System;}{\\f1\\fmodern\\fcharset0 System Mono;}"));
    EXPECT_FALSE(bytes.contains("\\info"));
    for (char c : bytes)
        EXPECT_LT(uchar(c), 0x80u);
}

TEST(RichTextCodecTest, WriterUsesTheDocumentedControlWords)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    cursor.insertText(QString::fromUtf8("é😀"), Style {.weight = 600}.format());
    cursor.insertText("x", Style {.weight = 800, .foreground = QColor::fromRgb(255, 0, 0, 128)}.format());
    const QByteArray bytes = RichTextCodec::writeRtf(document);
    EXPECT_TRUE(bytes.contains("\\pard\\nvweight600\\u233?\\u-10179?\\u-8704?")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("\\b\\nvweight800\\cf1 x")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("{\\colortbl;\\red255\\green0\\blue0;}")) << bytes.toStdString();
    EXPECT_TRUE(bytes.contains("{\\*\\nvalphatbl;\\nvalpha502;}")) << bytes.toStdString();
}

TEST(RichTextCodecTest, EmptyTextReadsAsNoDocument)
{
    QTextDocument empty;
    EXPECT_FALSE(RichTextCodec::readRtf(RichTextCodec::writeRtf(empty)));
    EXPECT_FALSE(RichTextCodec::readRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0\\fs24 }"));
    EXPECT_FALSE(RichTextCodec::plainText("{\\rtf1}"));
    EXPECT_FALSE(RichTextCodec::readRtf("plain words"));
    EXPECT_FALSE(RichTextCodec::readRtf(""));
    EXPECT_FALSE(RichTextCodec::plainText(" {\\rtf1 leading space}"));
    EXPECT_TRUE(RichTextCodec::readRtf("{\\rtf1 \\par}"));
}

TEST(RichTextCodecTest, PlainTextHasParagraphsLinesAndCells)
{
    const auto document = documentWithTable({});
    const std::optional<QString> text = RichTextCodec::plainText(RichTextCodec::writeRtf(*document));
    ASSERT_TRUE(text);
    EXPECT_EQ(text->toStdString(),
        QString::fromUtf8("Before the table\nHead\nsecond paragraph\nanchor\u200Bhere\nemoji 😀 outside the BMP\n"
                          "a\tb\nline\nbreak\n\nAfter the table")
            .toStdString());
}

TEST(RichTextCodecTest, RtfdFolderHoldsTheRtf)
{
    const auto document = documentWithTable({});
    const QString folder = test::TestHomeListener::home() + "/shared/Note.rtfd";
    EXPECT_FALSE(RichTextCodec::writeRtfd(*document, folder));
    QFile file(folder + "/TXT.rtf");
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), RichTextCodec::writeRtf(*document));
    EXPECT_EQ(QDir(folder).entryList(QDir::Files), QStringList {"TXT.rtf"});

    QFile blocker(test::TestHomeListener::home() + "/file");
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const auto error = RichTextCodec::writeRtfd(*document, blocker.fileName() + "/Note.rtfd");
    ASSERT_TRUE(error);
    EXPECT_EQ(error->kind(), RichTextCodec::RtfdError::Kind::FolderNotCreated);
    EXPECT_TRUE(error->message().contains("Note.rtfd"));
}
