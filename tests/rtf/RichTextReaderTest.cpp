#include "RichTextDocumentDump.h"
#include "rtf/RichTextCodec.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace norvelle;

namespace {

QString text(const QByteArray& rtf)
{
    return RichTextCodec::plainText(rtf).value_or(QStringLiteral("<none>"));
}

// The character format at `needle`'s first character.
QTextCharFormat formatAt(const QTextDocument& document, const QString& needle)
{
    const QTextCursor found = document.find(needle);
    EXPECT_FALSE(found.isNull()) << needle.toStdString();
    QTextCursor cursor(const_cast<QTextDocument*>(&document));
    cursor.setPosition(found.selectionStart() + 1);
    return cursor.charFormat();
}

QTextBlockFormat blockAt(const QTextDocument& document, const QString& needle)
{
    return document.find(needle).block().blockFormat();
}

std::vector<QTextTable*> tables(const QTextDocument& document)
{
    std::vector<QTextTable*> out;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (auto* table = qobject_cast<QTextTable*>(it.currentFrame()))
            out.push_back(table);
    }
    return out;
}

QString cellText(QTextTable* table, int row, int column)
{
    const QTextTableCell cell = table->cellAt(row, column);
    QTextCursor cursor = cell.firstCursorPosition();
    cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
    return cursor.selection().toPlainText();
}

} // namespace

TEST(RichTextReaderTest, DecodesTheTextEncodings)
{
    EXPECT_EQ(text("{\\rtf1\\ansi\\ansicpg1252 \\'93quoted\\'94 caf\\'e9 \\'80}"), QString::fromUtf8("“quoted” café €"));
    EXPECT_EQ(text("{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8\\'e2\\'e5\\'f2}"), QString::fromUtf8("Привет"));
    EXPECT_EQ(text("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1\\fcharset204 Arial Cyr;}}\\f1 \\'c4\\'e0 \\f0 \\'c4}"),
        QString::fromUtf8("Да Ä"));
    EXPECT_EQ(text("{\\rtf1\\ansi\\ansicpg932 \\'82\\'a0}"), QString::fromUtf8("あ"));
    EXPECT_EQ(text("{\\rtf1\\uc1 \\u8364\\'80 \\u-4064? \\uc0\\u8364 x{\\uc2\\u8364\\'80\\'80}y}"),
        QString::fromUtf8("€ \uF020 €x€y"));
    EXPECT_EQ(text("{\\rtf1 \\u55357?\\u56832?}"), QString::fromUtf8("😀"));
    EXPECT_EQ(text("{\\rtf1 raw UTF-8 caf\xC3\xA9}"), QString::fromUtf8("raw UTF-8 café"));
    EXPECT_EQ(text("{\\rtf1 raw cp1252 caf\xE9 \xC3}"), QString::fromUtf8("raw cp1252 café Ã"));
    EXPECT_EQ(text("{\\rtf1 a\\~b\\-c\\_d\\bullet\\endash\\emdash\\lquote\\rquote\\ldblquote\\rdblquote"
                   "\\enspace\\emspace\\zwj\\zwnj\\tab e\\line f\\{\\}\\\\}"),
        QString::fromUtf8("a\u00A0b\u00ADc\u2011d•–—‘’“”\u2002\u2003\u200D\u200C\te\nf{}\\"));
}

TEST(RichTextReaderTest, ParagraphBreaksAndIgnoredLineEnds)
{
    EXPECT_EQ(text("{\\rtf1 one\r\ntwo\\par three\\page four\\sect five\\\nsix\\\r\nseven}"),
        QString("onetwo\nthree\nfour\nfive\nsix\nseven"));
    EXPECT_EQ(text("{\\rtf1 last\\par}"), QString("last\n"));
}

TEST(RichTextReaderTest, SkipsDestinationsAndKeepsFieldResults)
{
    EXPECT_EQ(text("{\\rtf1{\\info{\\title T}{\\author A}}{\\stylesheet{\\s1 Heading;}}{\\*\\generator W;}"
                   "{\\header H}{\\footer F}a{\\footnote N}b{\\pict\\bin4 }}}}}c{\\object{\\objdata 00}}"
                   "{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}}{\\*\\unknown z}{\\shppict s}{\\nonshppict n}d}"),
        QString("abclinkd"));
}

TEST(RichTextReaderTest, ReadsCharacterAttributes)
{
    const auto document = RichTextCodec::readRtf(
        "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\froman Times New Roman;}{\\f1\\fmodern Courier New;}"
        "{\\f2 System Mono;}}{\\colortbl;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"
        "\\f0\\fs20 plain {\\b bold} {\\i italic} {\\ul under}{\\ul0 notunder} {\\uldb dbl} {\\ulwave wave}"
        " {\\strike struck} {\\striked1 dstruck} {\\cf1 red} {\\cf1\\cf0 auto} {\\highlight2 hi} {\\chcbpat1 shade}"
        " {\\cb2 back}{\\cb0 noback} {\\f1 mono} {\\f2 sysmono} {\\b\\i\\fs48\\plain reset}}");
    ASSERT_TRUE(document);
    EXPECT_EQ(formatAt(*document, "plain").fontFamilies().toStringList(), QStringList {"Times New Roman"});
    EXPECT_EQ(formatAt(*document, "plain").intProperty(QTextFormat::FontPixelSize), 10);
    EXPECT_EQ(formatAt(*document, "bold").fontWeight(), 700);
    EXPECT_EQ(formatAt(*document, "plain").fontWeight(), 400);
    EXPECT_TRUE(formatAt(*document, "italic").fontItalic());
    EXPECT_TRUE(formatAt(*document, "under").fontUnderline());
    EXPECT_FALSE(formatAt(*document, "notunder").fontUnderline());
    EXPECT_TRUE(formatAt(*document, "dbl").fontUnderline());
    EXPECT_TRUE(formatAt(*document, "wave").fontUnderline());
    EXPECT_TRUE(formatAt(*document, "struck").fontStrikeOut());
    EXPECT_TRUE(formatAt(*document, "dstruck").fontStrikeOut());
    EXPECT_EQ(formatAt(*document, "red").foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(formatAt(*document, "auto").hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(formatAt(*document, "hi").background().color(), QColor(0, 0, 255));
    EXPECT_EQ(formatAt(*document, "shade").background().color(), QColor(255, 0, 0));
    EXPECT_EQ(formatAt(*document, "back").background().color(), QColor(0, 0, 255));
    EXPECT_FALSE(formatAt(*document, "noback").hasProperty(QTextFormat::BackgroundBrush));
    EXPECT_EQ(formatAt(*document, "mono").fontFamilies().toStringList(), QStringList {"Courier New"});
    EXPECT_NE(formatAt(*document, "sysmono").fontFamilies().toStringList(), QStringList {"System Mono"});
    EXPECT_EQ(formatAt(*document, "reset").intProperty(QTextFormat::FontPixelSize), 12);
    EXPECT_EQ(formatAt(*document, "reset").fontWeight(), 400);
    EXPECT_FALSE(formatAt(*document, "reset").fontItalic());
    EXPECT_EQ(formatAt(*document, "reset").fontFamilies().toStringList(), QStringList {"Times New Roman"});
}

TEST(RichTextReaderTest, ReadsParagraphAttributes)
{
    const auto document = RichTextCodec::readRtf(
        "{\\rtf1\\pard\\qc centred\\par\\pard\\qd\\ri400\\sl276\\slmult1\\ltrpar justified\\par"
        "\\pard\\li720\\fi-360\\sb120\\sa240 indented\\par\\qr right\\par\\pard natural}");
    ASSERT_TRUE(document);
    EXPECT_EQ(blockAt(*document, "centred").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(blockAt(*document, "justified").alignment(), Qt::AlignJustify);
    const QTextBlockFormat indented = blockAt(*document, "indented");
    EXPECT_EQ(indented.leftMargin(), 36);
    EXPECT_EQ(indented.textIndent(), -18);
    EXPECT_EQ(indented.topMargin(), 6);
    EXPECT_EQ(indented.bottomMargin(), 12);
    EXPECT_EQ(blockAt(*document, "right").alignment(), Qt::AlignRight);
    EXPECT_EQ(blockAt(*document, "right").leftMargin(), 36);
    EXPECT_FALSE(blockAt(*document, "natural").hasProperty(QTextFormat::BlockAlignment));
}

TEST(RichTextReaderTest, ReadsTablesFromOtherProducers)
{
    // Widths from the \cellx edges, a paragraph between tables, a change of cell count.
    const auto document = RichTextCodec::readRtf(
        "{\\rtf1{\\colortbl;\\red200\\green0\\blue0;}intro\\par"
        "\\trowd\\trgaph108\\trleft-108\\clbrdrt\\brdrs\\brdrw10\\clcbpat1\\cellx1332\\clbrdrb\\brdrdb\\cellx4212"
        "\\pard\\intbl a1\\cell\\pard\\intbl b1\\par b1 second\\cell\\row"
        "\\trowd\\cellx1332\\cellx4212\\pard\\intbl a2\\cell b2\\cell\\row"
        "\\trowd\\cellx1000\\cellx2000\\cellx3000\\intbl x\\cell y\\cell z\\cell\\row"
        "\\pard between\\par"
        "\\trowd\\cellx500\\intbl solo\\cell\\row\\pard end}");
    ASSERT_TRUE(document);
    const std::vector<QTextTable*> found = tables(*document);
    ASSERT_EQ(found.size(), 3u);
    EXPECT_EQ(found[0]->rows(), 2);
    EXPECT_EQ(found[0]->columns(), 2);
    EXPECT_EQ(cellText(found[0], 0, 0), "a1");
    EXPECT_EQ(cellText(found[0], 0, 1), QString("b1") + "\n" + "b1 second");
    EXPECT_EQ(cellText(found[0], 1, 1), "b2");
    const QList<QTextLength> widths = found[0]->format().columnWidthConstraints();
    ASSERT_EQ(widths.size(), 2);
    EXPECT_EQ(widths[0], QTextLength(QTextLength::FixedLength, 72));
    EXPECT_EQ(widths[1], QTextLength(QTextLength::FixedLength, 144));
    const QTextTableCellFormat first = found[0]->cellAt(0, 0).format().toTableCellFormat();
    EXPECT_EQ(first.topBorder(), 0.5);
    EXPECT_EQ(first.background().color(), QColor(200, 0, 0));
    EXPECT_EQ(found[0]->cellAt(0, 1).format().toTableCellFormat().bottomBorder(), 0.75);
    EXPECT_EQ(found[1]->columns(), 3);
    EXPECT_EQ(cellText(found[1], 0, 2), "z");
    EXPECT_EQ(found[2]->columns(), 1);
    EXPECT_EQ(text("{\\rtf1 intro\\par\\trowd\\cellx1\\cellx2\\intbl a\\cell b\\cell\\row\\pard end}"),
        QString("intro\na\nb\nend"));
}

TEST(RichTextReaderTest, FlattensNestedTablesIntoTheirCell)
{
    const auto document = RichTextCodec::readRtf(
        "{\\rtf1\\trowd\\cellx2000\\cellx4000\\pard\\intbl outer\\cell"
        "\\pard\\intbl\\itap2 inner1\\nestcell inner2\\nestcell{\\*\\nesttableprops\\trowd\\cellx900\\cellx1800\\nestrow}"
        "{\\nonesttables\\par}\\pard\\intbl\\itap1 after\\cell\\row\\pard done}");
    ASSERT_TRUE(document);
    const std::vector<QTextTable*> found = tables(*document);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->columns(), 2);
    EXPECT_EQ(cellText(found[0], 0, 1),
        QString("inner1") + "\n" + "inner2" + "\n" + "after");
}

TEST(RichTextReaderTest, MalformedInputReadsWhatCameBeforeTheFault)
{
    EXPECT_EQ(text("{\\rtf1 {\\b bold"), QString("bold"));
    EXPECT_EQ(text("{\\rtf1 a}}}} b"), QString("a"));
    EXPECT_EQ(text("{\\rtf1 a\\u"), QString("a"));
    EXPECT_EQ(text("{\\rtf1 a\\u-"), QString("a-"));
    EXPECT_EQ(text("{\\rtf1 a\\u55357"), QString("a") + QChar::ReplacementCharacter);
    EXPECT_EQ(text("{\\rtf1 a\\'"), QString("a"));
    EXPECT_EQ(text("{\\rtf1 a\\'4"), QString("a\x04").left(1));
    EXPECT_EQ(text("{\\rtf1 a\\"), QString("a"));
    EXPECT_EQ(text("{\\rtf1 a\\bin99999999999 hidden}"), QString("a"));
    EXPECT_EQ(text("{\\rtf1 a\\bin-5 b}"), QString("ab"));
    EXPECT_EQ(text("{\\rtf1 a{\\pict\\bin3 }}}b}c}"), QString("ac"));
    EXPECT_EQ(text("{\\rtf1 \\fs99999999999999999999 \\li-99999999999999 \\cf99999999 \\f-3 big\\par}"), QString("big\n"));
    EXPECT_EQ(text("{\\rtf1 \\uc99999999999\\u65 skipped}"), QString("A"));
    EXPECT_EQ(text("{\\rtf1 \\" + QByteArray(10000, 'x') + " y}"), QString("y"));
    EXPECT_EQ(text("{\\rtf1 \\u0?\\u1?\\u13?a\\'00\\'0a\\u65020?\\u64976?b}"), QString("\na") + QChar(0xFDFC) + QChar::ReplacementCharacter + "b");

    QByteArray deep = "{\\rtf1 start";
    deep += QByteArray(1000000, '{');
    deep += "lost";
    EXPECT_EQ(text(deep), QString("start"));

    const auto big = RichTextCodec::readRtf("{\\rtf1 huge\\fs99999999 \\li99999999 x}");
    ASSERT_TRUE(big);
    EXPECT_LE(formatAt(*big, "x").intProperty(QTextFormat::FontPixelSize), 1638);
    EXPECT_LE(blockAt(*big, "x").leftMargin(), 1584);
}

TEST(RichTextReaderTest, TableSizesAreBounded)
{
    QByteArray wide = "{\\rtf1\\trowd";
    for (int i = 0; i < 5000; ++i)
        wide += "\\cellx" + QByteArray::number(i * 10);
    for (int i = 0; i < 200; ++i)
        wide += "\\intbl c" + QByteArray::number(i) + "\\cell";
    wide += "\\row}";
    const auto document = RichTextCodec::readRtf(wide);
    ASSERT_TRUE(document);
    const std::vector<QTextTable*> found = tables(*document);
    ASSERT_EQ(found.size(), 1u);
    EXPECT_EQ(found[0]->columns(), 64);
    EXPECT_TRUE(cellText(found[0], 0, 63).endsWith("c199"));

    QByteArray storm = "{\\rtf1\\trowd\\cellx1\\cellx2";
    for (int i = 0; i < 60000; ++i)
        storm += "\\cell\\cell\\row";
    storm += "\\pard end}";
    const std::optional<QString> stormText = RichTextCodec::plainText(storm);
    ASSERT_TRUE(stormText);
    EXPECT_TRUE(stormText->endsWith("end"));
    const auto stormDocument = RichTextCodec::readRtf(storm);
    ASSERT_TRUE(stormDocument);
    int rows = 0;
    for (QTextTable* table : tables(*stormDocument)) {
        EXPECT_LE(table->rows(), 4000);
        rows += table->rows();
    }
    EXPECT_EQ(rows, 50000);
}

TEST(RichTextReaderTest, OddFontNamesReadAndWriteBackStably)
{
    const QByteArray longName(300, 'n');
    const auto document = RichTextCodec::readRtf("{\\rtf1{\\fonttbl{\\f0 Brace\\{d\\} \\\\ Name;}\\f1 Flat\tTabbed\\u8364?"
                                                 "{\\*\\falt x}}{\\fonttbl\\f2 "
        + longName + ";}\\f0 a\\f1 b\\f2 c}");
    ASSERT_TRUE(document);
    QTextCursor cursor(document.get());
    cursor.setPosition(1);
    EXPECT_EQ(cursor.charFormat().fontFamilies().toStringList(), QStringList {"Brace{d} \\ Name"});
    cursor.setPosition(2);
    EXPECT_EQ(cursor.charFormat().fontFamilies().toStringList(), QStringList {QString::fromUtf8("Flat Tabbed€")});
    cursor.setPosition(3);
    EXPECT_EQ(cursor.charFormat().fontFamilies().toStringList().front().size(), 256);
    const QByteArray once = RichTextCodec::writeRtf(*document);
    const auto again = RichTextCodec::readRtf(once);
    ASSERT_TRUE(again);
    EXPECT_EQ(RichTextCodec::writeRtf(*again), once);

    const auto nul = RichTextCodec::readRtf("{\\rtf1{\\fonttbl{\\f0 Null\\u0?Name;}}\\f0 x}");
    ASSERT_TRUE(nul);
    EXPECT_EQ(formatAt(*nul, "x").fontFamilies().toStringList(), QStringList {"NullName"});
}

TEST(RichTextReaderTest, CharacterBackgroundDoesNotBecomeTheCellBackground)
{
    const auto document = RichTextCodec::readRtf(
        "{\\rtf1{\\colortbl;\\red1\\green2\\blue3;\\red9\\green9\\blue9;}\\trowd\\cellx1000\\clcbpat2\\cellx2000"
        "\\pard\\intbl\\cb1 x\\par y\\cell z\\cell\\row\\pard after}");
    ASSERT_TRUE(document);
    QTextTable* table = tables(*document).front();
    EXPECT_FALSE(table->cellAt(0, 0).format().hasProperty(QTextFormat::BackgroundBrush));
    EXPECT_EQ(table->cellAt(0, 1).format().background().color(), QColor(9, 9, 9));
    EXPECT_EQ(formatAt(*document, "x").background().color(), QColor(1, 2, 3));
    const QByteArray once = RichTextCodec::writeRtf(*document);
    const auto again = RichTextCodec::readRtf(once);
    ASSERT_TRUE(again);
    EXPECT_EQ(RichTextCodec::writeRtf(*again), once);
}

TEST(RichTextReaderTest, ManyControlCharactersAreDroppedInLinearTime)
{
    QByteArray noise = "{\\rtf1 ";
    for (int i = 0; i < 300000; ++i)
        noise += "\\'01";
    noise += "x}";
    EXPECT_EQ(text(noise), QString("x"));
}
