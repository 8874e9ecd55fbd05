#include "rtf/RtfWriter.h"

#include "rtf/RtfFormatMapping.h"
#include "rtf/RtfLimits.h"

#include "platform/HugePages.h"

#include <QHash>

#include <algorithm>

#include <charconv>
#include <string>
#include <string_view>

namespace norvelle {

namespace {

// Font and colour tables, numbered in order of first use.
class ResourceTables {
public:
    int font(const RtfCharacterStyle& style)
    {
        if (style.fontKind == RtfFontKind::System)
            return 0;
        if (style.fontKind == RtfFontKind::SystemMono)
            return 1;
        const auto found = m_fontIndexes.constFind(style.family);
        if (found != m_fontIndexes.cend())
            return *found;
        m_families.append(style.family);
        const int index = int(m_families.size()) + 1;
        m_fontIndexes.insert(style.family, index);
        return index;
    }

    int color(std::optional<QRgb> color)
    {
        if (!color)
            return 0;
        const auto found = m_colorIndexes.constFind(*color);
        if (found != m_colorIndexes.cend())
            return *found;
        m_colors.append(*color);
        const int index = int(m_colors.size());
        m_colorIndexes.insert(*color, index);
        return index;
    }

    const QStringList& families() const { return m_families; }
    const QList<QRgb>& colors() const { return m_colors; }

private:
    QStringList m_families;
    QHash<QString, int> m_fontIndexes;
    QList<QRgb> m_colors;
    QHash<QRgb, int> m_colorIndexes;
};

// Appends control words and text, putting a delimiting space between a word and text only
// where the text would otherwise continue the word. A std::string grows geometrically where
// QByteArray's appends showed up as repeated reallocations.
class Output {
public:
    std::string bytes;

    void word(std::string_view name)
    {
        bytes += '\\';
        bytes += name;
        m_afterWord = true;
    }

    void word(std::string_view name, int parameter)
    {
        word(name);
        number(parameter);
    }

    void raw(std::string_view text, bool afterWord = false)
    {
        bytes += text;
        m_afterWord = afterWord;
    }

    bool afterWord() const { return m_afterWord; }

    void newline()
    {
        bytes += '\n';
        m_afterWord = false;
    }

    void text(const QString& text)
    {
        for (const QChar c : text) {
            const char16_t unit = c.unicode();
            if (unit == u'\t') {
                word("tab");
            } else if (unit == 0x2028) {
                word("line");
            } else if (unit == u'\\' || unit == u'{' || unit == u'}') {
                bytes += '\\';
                bytes += char(unit);
                m_afterWord = false;
            } else if (unit >= 0x20 && unit < 0x7F) {
                if (m_afterWord)
                    bytes += ' ';
                bytes += char(unit);
                m_afterWord = false;
            } else {
                bytes += "\\u";
                number(int16_t(unit));
                bytes += '?';
                m_afterWord = false;
            }
        }
    }

private:
    void number(int value)
    {
        char digits[16];
        const auto end = std::to_chars(digits, digits + sizeof digits, value).ptr;
        bytes.append(digits, size_t(end - digits));
    }

    bool m_afterWord = false;
};

} // namespace

class RtfItemWriter::Writer {
public:
    void item(const RtfDocumentModel::Item& item)
    {
        if (const auto* paragraph = std::get_if<RtfParagraph>(&item))
            writeParagraph(*paragraph);
        else
            writeTable(std::get<RtfTable>(item));
    }

    void paragraphPart(const RtfParagraph& part, bool opens, bool closes)
    {
        if (opens) {
            writeParagraphStyle(part.style, false);
            writeRuns(part);
        } else {
            writeTexts(part);
        }
        if (closes) {
            m_body.word("par");
            m_body.newline();
        }
    }

    void append(std::string_view bytes, const RtfCharacterStyle& style, bool afterWord, std::span<const QString> fonts,
        std::span<const QRgb> colors)
    {
        m_body.raw(bytes, afterWord);
        m_style = style;
        RtfCharacterStyle named;
        named.fontKind = RtfFontKind::Named;
        for (const QString& family : fonts) {
            named.family = family;
            m_tables.font(named);
        }
        for (const QRgb color : colors)
            m_tables.color(color);
    }

    QByteArray document() const
    {
        // The last paragraph ends the document, not with a \par of its own.
        std::string_view body = m_body.bytes;
        constexpr std::string_view lastEnding = "\\par\n";
        if (body.ends_with(lastEnding))
            body.remove_suffix(lastEnding.size());
        Output header;
        header.raw("{\\rtf1\\ansi\\ansicpg1252\\uc1\\deff0");
        header.newline();
        writeFontTable(header);
        writeColorTables(header);
        QByteArray document;
        document.reserve(qsizetype(header.bytes.size() + body.size() + 1));
        preferHugePages(document.data(), size_t(document.capacity()));
        document.append(header.bytes.data(), qsizetype(header.bytes.size()));
        document.append(body.data(), qsizetype(body.size()));
        document.append('}');
        return document;
    }

    void reserve(size_t bytes)
    {
        m_body.bytes.reserve(bytes);
        preferHugePages(m_body.bytes.data(), m_body.bytes.capacity());
    }
    const std::string& body() const { return m_body.bytes; }
    const RtfCharacterStyle& style() const { return m_style; }
    bool afterWord() const { return m_body.afterWord(); }
    const ResourceTables& tables() const { return m_tables; }

private:
    void writeFontTable(Output& out) const
    {
        out.raw("{\\fonttbl{\\f0\\fnil\\fcharset0 System;}{\\f1\\fmodern\\fcharset0 System Mono;}");
        for (qsizetype i = 0; i < m_tables.families().size(); ++i) {
            out.raw("{");
            out.word("f", int(i) + 2);
            out.word("fnil");
            out.text(QString(m_tables.families()[i]).replace(';', ','));
            out.raw(";}");
        }
        out.raw("}");
        out.newline();
    }

    void writeColorTables(Output& out) const
    {
        if (m_tables.colors().isEmpty())
            return;
        out.raw("{\\colortbl;");
        for (QRgb color : m_tables.colors()) {
            out.word("red", qRed(color));
            out.word("green", qGreen(color));
            out.word("blue", qBlue(color));
            out.raw(";");
        }
        out.raw("}");
        out.newline();
        out.raw("{\\*\\nvalphatbl;");
        for (QRgb color : m_tables.colors()) {
            out.word("nvalpha", RtfFormatMapping::toPerMille(qAlpha(color)));
            out.raw(";");
        }
        out.raw("}");
        out.newline();
    }

    void writeParagraph(const RtfParagraph& paragraph) { paragraphPart(paragraph, true, true); }

    void writeRuns(const RtfParagraph& paragraph)
    {
        if (!paragraph.hasText()) {
            switchTo(paragraph.markStyle);
            return;
        }
        writeTexts(paragraph);
    }

    void writeTexts(const RtfParagraph& paragraph)
    {
        for (const RtfRun& run : paragraph.runs) {
            if (run.text.isEmpty())
                continue;
            switchTo(run.style);
            m_body.text(run.text);
        }
    }

    void writeParagraphStyle(const RtfParagraphStyle& style, bool inTable)
    {
        Output& out = m_body;
        out.word("pard");
        if (inTable)
            out.word("intbl");
        switch (style.alignment) {
        case RtfAlignment::Natural:
            break;
        case RtfAlignment::Left:
            out.word("ql");
            break;
        case RtfAlignment::Center:
            out.word("qc");
            break;
        case RtfAlignment::Right:
            out.word("qr");
            break;
        case RtfAlignment::Justified:
            out.word("qj");
            break;
        }
        if (style.leftIndent != 0)
            out.word("li", style.leftIndent);
        if (style.firstLineIndent != 0)
            out.word("fi", style.firstLineIndent);
        if (style.spaceBefore != 0)
            out.word("sb", style.spaceBefore);
        if (style.spaceAfter != 0)
            out.word("sa", style.spaceAfter);
    }

    // Writes the character words that take the current style to `style`.
    void switchTo(const RtfCharacterStyle& style)
    {
        Output& out = m_body;
        RtfCharacterStyle& now = m_style;
        const int font = m_tables.font(style);
        if (font != m_tables.font(now))
            out.word("f", font);
        if (style.halfPoints != now.halfPoints)
            out.word("fs", style.halfPoints);
        const bool bold = style.weight >= 700;
        int implied = now.weight;
        if (bold != (now.weight >= 700)) {
            out.word(bold ? "b" : "b0");
            implied = bold ? 700 : 400;
        }
        if (style.weight != implied)
            out.word("nvweight", style.weight);
        if (style.italic != now.italic)
            out.word(style.italic ? "i" : "i0");
        if (style.underline != now.underline)
            out.word(style.underline ? "ul" : "ulnone");
        if (style.strikethrough != now.strikethrough)
            out.word(style.strikethrough ? "strike" : "strike0");
        if (style.foreground != now.foreground)
            out.word("cf", m_tables.color(style.foreground));
        if (style.background != now.background)
            out.word("cb", m_tables.color(style.background));
        now = style;
    }

    // A row's definition, and a cell paragraph's style, stay in force until the next one is
    // written: each is written only where it differs from the one before it in the table, so a
    // long table takes a few bytes a row more than its text.
    void writeTable(const RtfTable& table)
    {
        const std::vector<RtfCell>* definedBy = nullptr;
        const RtfParagraphStyle* styledBy = nullptr;
        for (const auto& row : table.rows) {
            Output& out = m_body;
            if (!definedBy || !sameDefinitions(*definedBy, row)) {
                out.word("trowd");
                out.word("trgaph", 0);
                out.word("trleft", 0);
                for (const RtfCell& cell : row)
                    writeCellDefinition(cell.definition);
                out.newline();
                definedBy = &row;
            }
            for (const RtfCell& cell : row) {
                for (size_t i = 0; i < cell.paragraphs.size(); ++i) {
                    const RtfParagraph& paragraph = cell.paragraphs[i];
                    if (!styledBy || !(*styledBy == paragraph.style))
                        writeParagraphStyle(paragraph.style, true);
                    styledBy = &paragraph.style;
                    writeRuns(paragraph);
                    out.word(i + 1 == cell.paragraphs.size() ? "cell" : "par");
                    out.newline();
                }
            }
            out.word("row");
            out.newline();
        }
    }

    static bool sameDefinitions(const std::vector<RtfCell>& row, const std::vector<RtfCell>& other)
    {
        return std::equal(row.begin(), row.end(), other.begin(), other.end(),
            [](const RtfCell& a, const RtfCell& b) { return a.definition == b.definition; });
    }

    void writeCellDefinition(const RtfCellDefinition& definition)
    {
        Output& out = m_body;
        const std::pair<const char*, const RtfBorder*> borders[] = {
            {"clbrdrt", &definition.top}, {"clbrdrl", &definition.left},
            {"clbrdrb", &definition.bottom}, {"clbrdrr", &definition.right}};
        for (const auto& [name, border] : borders) {
            out.word(name);
            out.word("brdrs");
            out.word("brdrw", RtfLimits::borderTwips(border->width));
            out.word("brdrcf", m_tables.color(border->color));
        }
        if (definition.background)
            out.word("clcbpat", m_tables.color(definition.background));
        out.word("clpadt", definition.paddingTop);
        out.word("clpadft", 3);
        out.word("clpadl", definition.paddingLeft);
        out.word("clpadfl", 3);
        out.word("clpadb", definition.paddingBottom);
        out.word("clpadfb", 3);
        out.word("clpadr", definition.paddingRight);
        out.word("clpadfr", 3);
        switch (definition.widthUnit) {
        case RtfWidthUnit::None:
            break;
        case RtfWidthUnit::Auto:
            out.word("clwWidth", 0);
            out.word("clftsWidth", 1);
            break;
        case RtfWidthUnit::Percent:
            out.word("clwWidth", definition.width);
            out.word("clftsWidth", 2);
            break;
        case RtfWidthUnit::Twips:
            out.word("clwWidth", definition.width);
            out.word("clftsWidth", 3);
            break;
        }
        out.word("cellx", definition.rightEdge);
    }

    ResourceTables m_tables;
    Output m_body;
    RtfCharacterStyle m_style;
};

RtfItemWriter::RtfItemWriter()
    : m_writer(std::make_unique<Writer>())
{
}
RtfItemWriter::~RtfItemWriter() = default;

void RtfItemWriter::write(const RtfDocumentModel::Item& item)
{
    m_writer->item(item);
}

void RtfItemWriter::writePart(const RtfParagraph& part, bool opens, bool closes)
{
    m_writer->paragraphPart(part, opens, closes);
}

void RtfItemWriter::append(std::string_view bytes, const RtfCharacterStyle& style, bool afterWord,
    std::span<const QString> fonts, std::span<const QRgb> colors)
{
    m_writer->append(bytes, style, afterWord, fonts, colors);
}

void RtfItemWriter::reserve(size_t bytes)
{
    m_writer->reserve(bytes);
}

const std::string& RtfItemWriter::body() const
{
    return m_writer->body();
}

const RtfCharacterStyle& RtfItemWriter::style() const
{
    return m_writer->style();
}

bool RtfItemWriter::afterWord() const
{
    return m_writer->afterWord();
}

const QStringList& RtfItemWriter::fonts() const
{
    return m_writer->tables().families();
}

const QList<QRgb>& RtfItemWriter::colors() const
{
    return m_writer->tables().colors();
}

QByteArray RtfItemWriter::document() const
{
    return m_writer->document();
}

QByteArray RtfWriter::write(const RtfDocumentModel& model)
{
    RtfItemWriter writer;
    for (const RtfDocumentModel::Item& item : model.items)
        writer.write(item);
    return writer.document();
}

} // namespace norvelle
