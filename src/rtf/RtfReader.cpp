#include "rtf/RtfReader.h"

#include "rtf/RtfControlWords.h"
#include "rtf/RtfFormatMapping.h"
#include "rtf/RtfLimits.h"
#include "rtf/RtfRowDefinition.h"
#include "rtf/RtfTableAssembler.h"
#include "rtf/RtfTextDecoder.h"
#include "rtf/RtfTokenizer.h"

#include <map>

namespace norvelle {

namespace {

constexpr int maxFontNameLength = 256;

enum class Destination { Body,
    FontTable,
    ColorTable,
    AlphaTable,
    Skip };

struct CharacterState {
    int font = 0;
    int halfPoints = 24;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    int foreground = 0;
    int background = 0;
};

struct Group {
    Destination destination = Destination::Body;
    CharacterState character;
    RtfParagraphStyle paragraph;
    bool inTable = false;
    int unicodeSkip = 1;
    bool ignorable = false; // after \*: an unknown destination word skips the group
};

struct FontEntry {
    QString name;
    int charset = 0;
    int codePage = 0;
};

bool isUnpairedSurrogate(const QString& text, qsizetype i)
{
    const QChar c = text[i];
    if (c.isHighSurrogate())
        return i + 1 >= text.size() || !text[i + 1].isLowSurrogate();
    if (c.isLowSurrogate())
        return i == 0 || !text[i - 1].isHighSurrogate();
    return false;
}

// Characters a text document must not hold as text: C0 controls but the tab, the frame and
// object markers of the layout engine, unpaired surrogates.
void sanitize(QString& text)
{
    qsizetype kept = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        if (c < 0x20 && c != u'\t')
            continue;
        QChar out = text[i];
        if (c == 0x2029)
            out = QChar::LineSeparator;
        else if (c == 0xFDD0 || c == 0xFDD1 || c == 0xFDEF || c == 0xFFFC || isUnpairedSurrogate(text, i))
            out = QChar::ReplacementCharacter;
        text[kept++] = out;
    }
    text.truncate(kept);
}

// A font name as the writer can print it and read it back unchanged: bounded, one line, no
// characters sanitize() would drop.
QString cleanFontName(QString name)
{
    name.truncate(maxFontNameLength);
    sanitize(name);
    name.replace(QChar::LineSeparator, QChar(' '));
    return name.simplified();
}

class Parser {
public:
    explicit Parser(QByteArrayView data)
        : m_tokens(data)
        , m_tables(m_model.items)
    {
    }

    RtfDocumentModel run();

private:
    Group& group() { return m_groups.back(); }
    void handle(const RtfToken& token);
    void handleWord(const RtfToken& token);
    bool handleDestinationWord(RtfWord word);
    void handleTableEntryWord(RtfWord word, int parameter);
    void handleSymbol(char symbol);
    void handleTableText(QByteArrayView text);

    void queueBytes(QByteArrayView bytes, bool unescaped);
    void flushBytes();
    void appendText(const QString& text);
    void appendUnit(char16_t unit);
    void endParagraph(RtfWord how);
    void flushFontName();
    void appendToFontName(char16_t unit);
    void finishFontEntry();

    const RtfCharacterStyle& currentStyle();
    std::optional<QRgb> color(int index) const;
    int currentCodePage() const;

    RtfTokenizer m_tokens;
    RtfDocumentModel m_model;
    RtfTableAssembler m_tables;
    RtfRowDefinition m_row;
    RtfTextDecoder m_decoder;
    std::vector<Group> m_groups;
    bool m_done = false;

    int m_codePage = RtfTextDecoder::westernCodePage;
    int m_defaultFont = 0;
    std::map<int, FontEntry> m_fonts;
    int m_fontEntry = -1;
    QByteArray m_fontNameBytes;
    std::vector<std::optional<QRgb>> m_colors;
    std::optional<int> m_red, m_green, m_blue;
    std::vector<int> m_alphas;
    int m_alpha = 1000;

    QByteArray m_pendingBytes;
    bool m_pendingUnescaped = false;
    bool m_pendingEscaped = false;
    int m_skipCount = 0;

    std::vector<RtfRun> m_runs;
    RtfCharacterStyle m_style;
    bool m_styleStale = true;
};

RtfDocumentModel Parser::run()
{
    // The caller checked for "{\rtf": the first token opens the document group.
    m_tokens.next();
    m_groups.push_back({});
    while (!m_done) {
        const RtfToken token = m_tokens.next();
        if (token.kind == RtfToken::Kind::End)
            break;
        handle(token);
    }
    flushBytes();
    RtfParagraph last {group().paragraph, currentStyle(), std::move(m_runs)};
    for (RtfRun& run : last.runs)
        sanitize(run.text);
    if (group().inTable && last.hasText()) {
        m_tables.addCellParagraph(std::move(last), true);
        last = {};
    }
    m_tables.finish();
    m_model.items.emplace_back(std::move(last));
    return std::move(m_model);
}

void Parser::handle(const RtfToken& token)
{
    using Kind = RtfToken::Kind;
    if (token.kind == Kind::Text) {
        if (group().destination == Destination::Body)
            queueBytes(token.text, true);
        else
            handleTableText(token.text);
        return;
    }
    if (token.kind == Kind::HexByte) {
        if (group().destination == Destination::Body || group().destination == Destination::FontTable)
            queueBytes(QByteArrayView(&token.symbol, 1), false);
        return;
    }
    flushBytes();
    switch (token.kind) {
    case Kind::GroupStart:
        m_skipCount = 0;
        if (int(m_groups.size()) >= RtfLimits::maxGroupDepth) {
            m_done = true;
            return;
        }
        {
            Group inner = group();
            inner.ignorable = false;
            m_groups.push_back(std::move(inner));
        }
        m_styleStale = true;
        return;
    case Kind::GroupEnd:
        m_skipCount = 0;
        if (group().destination == Destination::FontTable)
            finishFontEntry();
        // The document group's state stays: the last paragraph still needs it.
        if (m_groups.size() == 1) {
            m_done = true;
            return;
        }
        m_groups.pop_back();
        m_styleStale = true;
        return;
    case Kind::ControlSymbol:
        handleSymbol(token.symbol);
        return;
    case Kind::ControlWord:
        handleWord(token);
        return;
    default:
        return;
    }
}

void Parser::handleSymbol(char symbol)
{
    if (symbol == '*') {
        group().ignorable = true;
        return;
    }
    if (group().destination == Destination::FontTable && (symbol == '\\' || symbol == '{' || symbol == '}')) {
        queueBytes(QByteArrayView(&symbol, 1), false);
        return;
    }
    if (group().destination != Destination::Body)
        return;
    if (m_skipCount > 0) {
        --m_skipCount;
        return;
    }
    switch (symbol) {
    case '\\':
    case '{':
    case '}':
        appendUnit(char16_t(symbol));
        return;
    case '~':
        appendUnit(0x00A0);
        return;
    case '-':
        appendUnit(0x00AD);
        return;
    case '_':
        appendUnit(0x2011);
        return;
    case '\n':
    case '\r':
        endParagraph(RtfWord::ParagraphEnd);
        return;
    default:
        return;
    }
}

void Parser::handleWord(const RtfToken& token)
{
    const RtfWordInfo info = lookUpRtfWord(token.name);
    const int parameter = token.parameter;
    const bool on = !token.hasParameter || parameter != 0;
    m_skipCount = 0;

    if (info.word == RtfWord::Binary) {
        if (token.hasParameter && parameter > 0)
            m_tokens.skipBytes(parameter);
        return;
    }
    if (group().ignorable) {
        group().ignorable = false;
        if (info.word != RtfWord::AlphaTable) {
            group().destination = Destination::Skip;
            return;
        }
    }
    if (handleDestinationWord(info.word))
        return;
    const Destination destination = group().destination;
    if (destination == Destination::Skip)
        return;
    if (destination != Destination::Body) {
        handleTableEntryWord(info.word, parameter);
        return;
    }

    CharacterState& character = group().character;
    RtfParagraphStyle& paragraph = group().paragraph;
    switch (info.word) {
    case RtfWord::Ansi:
        m_codePage = RtfTextDecoder::westernCodePage;
        return;
    case RtfWord::Mac:
        m_codePage = 10000;
        return;
    case RtfWord::Pc:
        m_codePage = 437;
        return;
    case RtfWord::Pca:
        m_codePage = 850;
        return;
    case RtfWord::AnsiCodePage:
        if (parameter > 0)
            m_codePage = parameter;
        return;
    case RtfWord::DefaultFont:
        m_defaultFont = parameter;
        character.font = parameter;
        m_styleStale = true;
        return;
    case RtfWord::UnicodeSkip:
        group().unicodeSkip = std::clamp(parameter, 0, RtfLimits::maxUnicodeSkip);
        return;
    case RtfWord::Unicode: {
        if (!token.hasParameter)
            return;
        const int unit = parameter < 0 ? parameter + 65536 : parameter;
        if (unit >= 0 && unit <= 0xFFFF) {
            if (unit == '\n' || unit == '\r' || unit == 0x2029)
                endParagraph(RtfWord::ParagraphEnd);
            else
                appendUnit(char16_t(unit));
        }
        m_skipCount = group().unicodeSkip;
        return;
    }
    case RtfWord::Character:
        appendUnit(info.character);
        return;
    case RtfWord::ParagraphEnd:
    case RtfWord::Cell:
    case RtfWord::NestedCell:
        endParagraph(info.word);
        return;
    case RtfWord::NestedRow:
        return;
    case RtfWord::Row:
        endParagraph(RtfWord::Row);
        return;
    case RtfWord::Plain:
        character = CharacterState {};
        character.font = m_defaultFont;
        break;
    case RtfWord::Font:
        character.font = parameter;
        break;
    case RtfWord::FontSize:
        character.halfPoints = token.hasParameter ? RtfLimits::halfPoints(parameter) : 24;
        break;
    case RtfWord::Bold:
        character.weight = on ? 700 : 400;
        break;
    case RtfWord::Weight:
        if (token.hasParameter)
            character.weight = RtfLimits::weight(parameter);
        break;
    case RtfWord::Italic:
        character.italic = on;
        break;
    case RtfWord::Underline:
        character.underline = on;
        break;
    case RtfWord::UnderlineNone:
        character.underline = false;
        break;
    case RtfWord::Strike:
    case RtfWord::StrikeDouble:
        character.strikethrough = on;
        break;
    case RtfWord::Foreground:
        character.foreground = parameter;
        break;
    case RtfWord::Background:
        character.background = parameter;
        break;
    case RtfWord::Pard:
        paragraph = {};
        group().inTable = false;
        return;
    case RtfWord::AlignLeft:
        paragraph.alignment = RtfAlignment::Left;
        return;
    case RtfWord::AlignCenter:
        paragraph.alignment = RtfAlignment::Center;
        return;
    case RtfWord::AlignRight:
        paragraph.alignment = RtfAlignment::Right;
        return;
    case RtfWord::AlignJustified:
        paragraph.alignment = RtfAlignment::Justified;
        return;
    case RtfWord::LeftIndent:
        paragraph.leftIndent = RtfLimits::twips(parameter);
        return;
    case RtfWord::FirstLineIndent:
        paragraph.firstLineIndent = RtfLimits::twips(parameter);
        return;
    case RtfWord::SpaceBefore:
        paragraph.spaceBefore = RtfLimits::positiveTwips(parameter);
        return;
    case RtfWord::SpaceAfter:
        paragraph.spaceAfter = RtfLimits::positiveTwips(parameter);
        return;
    case RtfWord::InTable:
        group().inTable = true;
        return;
    case RtfWord::TableLevel:
        group().inTable = parameter > 0;
        return;
    default:
        m_row.apply(info.word, parameter, color(parameter));
        return;
    }
    m_styleStale = true;
}

bool Parser::handleDestinationWord(RtfWord word)
{
    switch (word) {
    case RtfWord::FontTable:
        group().destination = Destination::FontTable;
        return true;
    case RtfWord::ColorTable:
        group().destination = Destination::ColorTable;
        m_colors.clear();
        m_red.reset();
        m_green.reset();
        m_blue.reset();
        return true;
    case RtfWord::AlphaTable:
        group().destination = Destination::AlphaTable;
        m_alphas.clear();
        m_alpha = 1000;
        return true;
    case RtfWord::SkippedDestination:
        group().destination = Destination::Skip;
        return true;
    default:
        return false;
    }
}

void Parser::handleTableEntryWord(RtfWord word, int parameter)
{
    switch (group().destination) {
    case Destination::FontTable:
        if (word == RtfWord::Font) {
            finishFontEntry();
            if (parameter >= 0 && (int(m_fonts.size()) < RtfLimits::maxTableEntries || m_fonts.count(parameter))) {
                m_fontEntry = parameter;
                m_fonts[parameter] = {};
            }
        } else if (m_fontEntry >= 0) {
            if (word == RtfWord::FontCharset)
                m_fonts[m_fontEntry].charset = parameter;
            else if (word == RtfWord::FontCodePage)
                m_fonts[m_fontEntry].codePage = parameter;
            else if (word == RtfWord::Unicode)
                appendToFontName(char16_t(parameter < 0 ? parameter + 65536 : parameter));
        }
        return;
    case Destination::ColorTable:
        if (word == RtfWord::Red)
            m_red = RtfLimits::colorComponent(parameter);
        else if (word == RtfWord::Green)
            m_green = RtfLimits::colorComponent(parameter);
        else if (word == RtfWord::Blue)
            m_blue = RtfLimits::colorComponent(parameter);
        return;
    case Destination::AlphaTable:
        if (word == RtfWord::Alpha)
            m_alpha = RtfLimits::perMille(parameter);
        return;
    default:
        return;
    }
}

void Parser::handleTableText(QByteArrayView text)
{
    switch (group().destination) {
    case Destination::FontTable:
        for (char c : text) {
            if (m_skipCount > 0)
                --m_skipCount;
            else if (c == ';')
                finishFontEntry();
            else if (m_fontEntry >= 0 && m_fontNameBytes.size() < maxFontNameLength)
                m_fontNameBytes.append(c);
        }
        return;
    case Destination::ColorTable:
        for (char c : text) {
            if (c != ';' || int(m_colors.size()) >= RtfLimits::maxTableEntries)
                continue;
            if (m_red || m_green || m_blue)
                m_colors.push_back(qRgb(m_red.value_or(0), m_green.value_or(0), m_blue.value_or(0)));
            else
                m_colors.push_back(std::nullopt);
            m_red.reset();
            m_green.reset();
            m_blue.reset();
        }
        return;
    case Destination::AlphaTable:
        for (char c : text) {
            if (c != ';' || int(m_alphas.size()) >= RtfLimits::maxTableEntries)
                continue;
            m_alphas.push_back(m_alpha);
            m_alpha = 1000;
        }
        return;
    default:
        return;
    }
}

void Parser::flushFontName()
{
    if (m_fontEntry < 0 || m_fontNameBytes.isEmpty())
        return;
    FontEntry& entry = m_fonts[m_fontEntry];
    const int codePage = entry.codePage > 0
        ? entry.codePage
        : RtfTextDecoder::codePageForCharset(entry.charset, m_codePage);
    entry.name.append(m_decoder.decode(m_fontNameBytes, codePage, true));
    m_fontNameBytes.clear();
}

void Parser::appendToFontName(char16_t unit)
{
    flushFontName();
    FontEntry& entry = m_fonts[m_fontEntry];
    if (entry.name.size() < maxFontNameLength)
        entry.name.append(QChar(unit));
    m_skipCount = group().unicodeSkip;
}

void Parser::finishFontEntry()
{
    if (m_fontEntry >= 0) {
        flushFontName();
        FontEntry& entry = m_fonts[m_fontEntry];
        entry.name = cleanFontName(entry.name);
        m_styleStale = true;
    }
    m_fontEntry = -1;
    m_fontNameBytes.clear();
}

void Parser::queueBytes(QByteArrayView bytes, bool unescaped)
{
    if (group().destination == Destination::FontTable) {
        if (m_skipCount > 0)
            --m_skipCount;
        else if (m_fontEntry >= 0 && m_fontNameBytes.size() < maxFontNameLength)
            m_fontNameBytes.append(bytes);
        return;
    }
    if (m_skipCount > 0) {
        const qsizetype skipped = std::min<qsizetype>(m_skipCount, bytes.size());
        m_skipCount -= int(skipped);
        bytes = bytes.sliced(skipped);
    }
    if (bytes.isEmpty())
        return;
    m_pendingBytes.append(bytes);
    (unescaped ? m_pendingUnescaped : m_pendingEscaped) = true;
}

void Parser::flushBytes()
{
    if (m_pendingBytes.isEmpty())
        return;
    appendText(m_decoder.decode(m_pendingBytes, currentCodePage(), m_pendingUnescaped && !m_pendingEscaped));
    m_pendingBytes.clear();
    m_pendingUnescaped = false;
    m_pendingEscaped = false;
}

void Parser::appendText(const QString& text)
{
    const RtfCharacterStyle& style = currentStyle();
    if (m_runs.empty() || !(m_runs.back().style == style))
        m_runs.push_back({style, {}});
    m_runs.back().text.append(text);
}

void Parser::appendUnit(char16_t unit)
{
    flushBytes();
    appendText(QString(QChar(unit)));
}

void Parser::endParagraph(RtfWord how)
{
    flushBytes();
    RtfParagraph paragraph {group().paragraph, currentStyle(), std::move(m_runs)};
    m_runs.clear();
    for (RtfRun& run : paragraph.runs)
        sanitize(run.text);
    switch (how) {
    case RtfWord::Cell:
        m_tables.addCellParagraph(std::move(paragraph), true);
        return;
    case RtfWord::NestedCell:
        m_tables.addCellParagraph(std::move(paragraph), false);
        return;
    case RtfWord::Row:
        if (paragraph.hasText())
            m_tables.addCellParagraph(std::move(paragraph), true);
        m_tables.endRow(m_row.cells(), m_row.rowLeft());
        return;
    default:
        if (group().inTable) {
            m_tables.addCellParagraph(std::move(paragraph), false);
        } else {
            m_tables.finish();
            m_model.items.emplace_back(std::move(paragraph));
        }
        return;
    }
}

const RtfCharacterStyle& Parser::currentStyle()
{
    if (!m_styleStale)
        return m_style;
    const CharacterState& character = group().character;
    RtfCharacterStyle style;
    style.fontKind = RtfFontKind::System;
    if (const auto font = m_fonts.find(character.font); font != m_fonts.end()) {
        // An entry the font table left open was never cleaned.
        const QString name = font->first == m_fontEntry ? cleanFontName(font->second.name) : font->second.name;
        if (name == QLatin1String("System Mono")) {
            style.fontKind = RtfFontKind::SystemMono;
        } else if (!name.isEmpty() && name != QLatin1String("System")) {
            style.fontKind = RtfFontKind::Named;
            style.family = name;
        }
    }
    style.halfPoints = character.halfPoints;
    style.weight = character.weight;
    style.italic = character.italic;
    style.underline = character.underline;
    style.strikethrough = character.strikethrough;
    style.foreground = color(character.foreground);
    style.background = color(character.background);
    m_style = std::move(style);
    m_styleStale = false;
    return m_style;
}

std::optional<QRgb> Parser::color(int index) const
{
    if (index <= 0 || index >= int(m_colors.size()) || !m_colors[index])
        return std::nullopt;
    const int perMille = index < int(m_alphas.size()) ? m_alphas[index] : 1000;
    const QRgb rgb = *m_colors[index];
    return qRgba(qRed(rgb), qGreen(rgb), qBlue(rgb), RtfFormatMapping::toAlpha(perMille));
}

int Parser::currentCodePage() const
{
    const auto font = m_fonts.find(m_groups.back().character.font);
    if (font == m_fonts.end())
        return m_codePage;
    if (font->second.codePage > 0)
        return font->second.codePage;
    return RtfTextDecoder::codePageForCharset(font->second.charset, m_codePage);
}

} // namespace

std::optional<RtfDocumentModel> RtfReader::read(QByteArrayView data)
{
    if (!data.startsWith("{\\rtf"))
        return std::nullopt;
    return Parser(data).run();
}

} // namespace norvelle
