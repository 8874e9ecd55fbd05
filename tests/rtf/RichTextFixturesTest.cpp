#include "rtf/RichTextCodec.h"

#include <QDir>
#include <QFile>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextFrame>
#include <QTextTable>
#include <gtest/gtest.h>

using namespace norvelle;

// Files written by other programs (see the commit that added them for how each was made).
namespace {

QByteArray fixture(const QString& name)
{
    QFile file(QDir(QStringLiteral(NORVELLE_RTF_FIXTURES)).filePath(name));
    EXPECT_TRUE(file.open(QIODevice::ReadOnly)) << name.toStdString();
    return file.readAll();
}

class Fixture {
public:
    explicit Fixture(const QString& name)
        : m_bytes(fixture(name))
        , m_document(RichTextCodec::readRtf(m_bytes))
    {
    }

    bool isRead() const { return bool(m_document); }
    QString text() const { return RichTextCodec::plainText(m_bytes).value_or(QString()); }

    QTextCharFormat format(const QString& needle) const
    {
        const QTextCursor found = m_document->find(needle);
        EXPECT_FALSE(found.isNull()) << needle.toStdString();
        QTextCursor cursor(m_document.get());
        cursor.setPosition(found.selectionStart() + 1);
        return cursor.charFormat();
    }

    QTextBlockFormat block(const QString& needle) const { return m_document->find(needle).block().blockFormat(); }
    QTextBlock blockAt(int position) const { return m_document->findBlock(position); }
    QByteArray written() const { return RichTextCodec::writeRtf(*m_document); }

    std::vector<QTextTable*> tables() const
    {
        std::vector<QTextTable*> out;
        for (auto it = m_document->rootFrame()->begin(); !it.atEnd(); ++it) {
            if (auto* table = qobject_cast<QTextTable*>(it.currentFrame()))
                out.push_back(table);
        }
        return out;
    }

    // The first table's cells, row by row, paragraphs joined with "|".
    QStringList cells() const
    {
        QStringList out;
        const auto found = tables();
        if (found.empty())
            return out;
        QTextTable* table = found.front();
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                QTextCursor cursor = cell.firstCursorPosition();
                cursor.setPosition(cell.lastCursorPosition().position(), QTextCursor::KeepAnchor);
                out.append(cursor.selection().toPlainText().replace('\n', '|'));
            }
        }
        return out;
    }

    // Reading what we wrote gives the same bytes again.
    bool rewritesStably() const
    {
        const QByteArray once = written();
        const auto again = RichTextCodec::readRtf(once);
        return again && RichTextCodec::writeRtf(*again) == once;
    }

private:
    QByteArray m_bytes;
    std::unique_ptr<QTextDocument> m_document;
};

bool isReddish(const QColor& color)
{
    return color.red() > 150 && color.green() < 50 && color.blue() < 50;
}

void expectCharacterBasics(const Fixture& file, const QString& bold, const QString& italic, const QString& underline)
{
    EXPECT_EQ(file.format(bold).fontWeight(), 700);
    EXPECT_EQ(file.format(italic).fontWeight(), 400);
    EXPECT_TRUE(file.format(italic).fontItalic());
    EXPECT_TRUE(file.format(underline).fontUnderline());
    EXPECT_FALSE(file.format(bold).fontUnderline());
}

void expectBoldItalic(const QTextCharFormat& format)
{
    EXPECT_EQ(format.fontWeight(), 700);
    EXPECT_TRUE(format.fontItalic());
}

QTextCharFormat charFormatIn(QTextTable* table, int row, int column)
{
    QTextCursor cursor = table->cellAt(row, column).lastCursorPosition();
    return cursor.charFormat();
}

} // namespace

TEST(RichTextFixturesTest, WordProcessorSampleFromLibreOffice)
{
    const Fixture file("libreoffice-sample.rtf");
    ASSERT_TRUE(file.isRead());
    EXPECT_TRUE(file.text().startsWith("Plain paragraph with bold, italic, underlined and struck words.\n"
                                       "Red centred text and highlighted.\n"));
    EXPECT_TRUE(file.text().contains(QString::fromUtf8("Accents: café, naïve, Grüße, “quotes” – dash — em, € euro, 中文, emoji 😀.\n")));
    expectCharacterBasics(file, "bold", "italic", "underlined");
    EXPECT_TRUE(file.format("struck").fontStrikeOut());
    EXPECT_TRUE(isReddish(file.format("Red centred").foreground().color()));
    EXPECT_EQ(file.block("Red centred").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(file.format("highlighted").background().color(), QColor(255, 255, 0));
    EXPECT_EQ(file.cells(), (QStringList {"Name", "Amount", "Apples", "3", "Pears", "5"}));
    EXPECT_TRUE(file.text().contains("5\nAfter the table."));
    EXPECT_TRUE(file.rewritesStably());
}

TEST(RichTextFixturesTest, LayoutFromLibreOffice)
{
    const Fixture file("libreoffice-layout.rtf");
    ASSERT_TRUE(file.isRead());
    EXPECT_EQ(file.block("Justified").alignment(), Qt::AlignJustify);
    EXPECT_EQ(file.block("Hanging").leftMargin(), 72);
    EXPECT_EQ(file.block("Hanging").textIndent(), -36);
    EXPECT_EQ(file.block("Right aligned").alignment() & Qt::AlignRight, Qt::AlignRight);
    EXPECT_EQ(file.format("Right aligned").intProperty(QTextFormat::FontPixelSize), 14);
    EXPECT_TRUE(file.format("Right aligned").fontFamilies().toStringList().front().contains("Mono")
        || file.format("Right aligned").fontFamilies().toStringList().front().contains("Courier"));
    EXPECT_EQ(file.format("Big").intProperty(QTextFormat::FontPixelSize), 20);
    EXPECT_EQ(file.format("small").intProperty(QTextFormat::FontPixelSize), 8);
    expectBoldItalic(file.format("bold italic"));
    EXPECT_EQ(file.cells(), (QStringList {"Cell one|second paragraph", "Cell two", "Cell three", "A", "B", "C"}));
    QTextTable* table = file.tables().front();
    EXPECT_EQ(table->cellAt(0, 0).format().background().color(), QColor("#ccffcc"));
    EXPECT_EQ(charFormatIn(table, 1, 1).fontWeight(), 700);
    EXPECT_EQ(charFormatIn(table, 1, 2).foreground().color(), QColor(0, 0, 255));
    EXPECT_TRUE(file.text().contains("Tab\tseparated and line\nbreak."));
    EXPECT_TRUE(file.rewritesStably());
}

TEST(RichTextFixturesTest, WordProcessorSampleFromAbiWord)
{
    const Fixture file("abiword-sample.rtf");
    ASSERT_TRUE(file.isRead());
    EXPECT_TRUE(file.text().startsWith("Plain paragraph with bold, italic, underlined and struck words.\n"
                                       "Red centred text and highlighted.\n"));
    // AbiWord itself moves the emoji while importing the HTML; the accents are what matter here.
    EXPECT_TRUE(file.text().contains(QString::fromUtf8("Accents: café, naïve, Grüße, “quotes” – dash — em, € euro, 中文")));
    expectCharacterBasics(file, "bold", "italic", "underlined");
    EXPECT_TRUE(file.format("struck").fontStrikeOut());
    EXPECT_TRUE(isReddish(file.format("Red centred").foreground().color()));
    EXPECT_EQ(file.block("Red centred").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(file.cells(), (QStringList {"Name", "Amount", "Apples", "3", "Pears", "5"}));
    EXPECT_TRUE(file.rewritesStably());
}

TEST(RichTextFixturesTest, LayoutFromAbiWord)
{
    const Fixture file("abiword-layout.rtf");
    ASSERT_TRUE(file.isRead());
    EXPECT_EQ(file.block("Justified").alignment(), Qt::AlignJustify);
    EXPECT_EQ(file.block("Hanging").leftMargin(), 72);
    EXPECT_EQ(file.block("Hanging").textIndent(), -36);
    EXPECT_EQ(file.format("Big").intProperty(QTextFormat::FontPixelSize), 20);
    expectBoldItalic(file.format("bold italic"));
    // AbiWord opens the first cell with an empty paragraph of its own.
    EXPECT_EQ(file.cells(), (QStringList {"|Cell one|second paragraph", "Cell two", "Cell three", "A", "B", "C"}));
    EXPECT_TRUE(file.text().contains("separated and line\nbreak."));
    EXPECT_TRUE(file.rewritesStably());
}

TEST(RichTextFixturesTest, WordPadStyleFile)
{
    const Fixture file("wordpad-style.rtf");
    ASSERT_TRUE(file.isRead());
    EXPECT_EQ(file.text(), QString::fromUtf8("Plain text with bold, italic, underline and strike.\nRed text and blue text.\n"
                                             "Centred line\nMonospace € euro and café\nIndented\n"));
    expectCharacterBasics(file, "bold", "italic", "underline");
    EXPECT_TRUE(file.format("strike").fontStrikeOut());
    EXPECT_EQ(file.format("Red").foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(file.format("blue").foreground().color(), QColor(0, 77, 187));
    EXPECT_EQ(file.format("Plain").fontFamilies().toStringList(), QStringList {"Calibri"});
    EXPECT_EQ(file.format("Plain").intProperty(QTextFormat::FontPixelSize), 11);
    EXPECT_EQ(file.format("Monospace").fontFamilies().toStringList(), QStringList {"Courier New"});
    EXPECT_EQ(file.block("Centred").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(file.block("Indented").leftMargin(), 36);
    EXPECT_EQ(file.block("Indented").bottomMargin(), 10);
    EXPECT_TRUE(file.rewritesStably());
}

TEST(RichTextFixturesTest, TextEditorStyleFile)
{
    const Fixture file("textedit-style.rtf");
    ASSERT_TRUE(file.isRead());
    EXPECT_EQ(file.text(), QString::fromUtf8("Hello from a text editor.\nBold heading\nItalic and underlined and red.\n"
                                             "Centred — with “quotes”\nKey\nValue\nMilk\n2\nAfter."));
    EXPECT_EQ(file.format("Hello").fontFamilies().toStringList(), QStringList {"Helvetica"});
    EXPECT_EQ(file.format("Bold heading").fontWeight(), 700);
    expectCharacterBasics(file, "Bold heading", "Italic", "underlined");
    EXPECT_EQ(file.format("red").foreground().color(), QColor(251, 0, 7));
    EXPECT_EQ(file.block("Centred").alignment(), Qt::AlignHCenter);
    EXPECT_EQ(file.cells(), (QStringList {"Key", "Value", "Milk", "2"}));
    QTextTable* table = file.tables().front();
    EXPECT_EQ(table->format().columnWidthConstraints(),
        (QList<QTextLength> {QTextLength(QTextLength::FixedLength, 100), QTextLength(QTextLength::FixedLength, 150)}));
    const QTextTableCellFormat shaded = table->cellAt(1, 1).format().toTableCellFormat();
    EXPECT_EQ(shaded.background().color(), QColor(191, 191, 191));
    EXPECT_EQ(shaded.topBorder(), 1);
    EXPECT_EQ(shaded.topBorderBrush().color(), QColor(0, 0, 0));
    EXPECT_EQ(shaded.leftPadding(), 5);
    EXPECT_TRUE(file.rewritesStably());
}

TEST(RichTextFixturesTest, LatexConverterStyleFileKeepsTheEmptyLineBeforeItsTable)
{
    const Fixture file("latex-converter-style.rtf");
    ASSERT_TRUE(file.isRead());
    const QString expected = QStringLiteral("1 Shopping\nThe list for the week, in a table.\n\n"
                                            "Item\nCount\nMilk\n2\nBread\n1\nNothing else this week.\n");
    EXPECT_EQ(file.text(), expected);
    EXPECT_EQ(file.cells(), (QStringList {"Item", "Count", "Milk", "2", "Bread", "1"}));
    QTextTable* table = file.tables().front();
    const QTextBlock before = file.blockAt(table->firstPosition() - 1);
    EXPECT_TRUE(before.text().isEmpty());
    EXPECT_EQ(before.blockFormat().topMargin(), 12);
    EXPECT_EQ(before.previous().text(), "The list for the week, in a table.");
    EXPECT_EQ(file.format("Item").fontWeight(), 700);
    EXPECT_EQ(file.block("Count").alignment(), Qt::AlignRight);
    EXPECT_EQ(table->format().columnWidthConstraints().value(1), QTextLength(QTextLength::FixedLength, 108));
    // Written by us and read again, the empty line is still there once.
    EXPECT_EQ(RichTextCodec::plainText(file.written()), expected);
    EXPECT_TRUE(file.rewritesStably());
}
