#include "rtf/RtfTokenizer.h"

#include "rtf/RtfLimits.h"

#include <limits>

namespace norvelle {

namespace {

bool isLetter(char c)
{
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z');
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int hexValue(char c)
{
    if (isDigit(c))
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

RtfToken tokenOf(RtfToken::Kind kind)
{
    RtfToken token;
    token.kind = kind;
    return token;
}

bool endsText(char c)
{
    return c == '\\' || c == '{' || c == '}' || c == '\r' || c == '\n';
}

} // namespace

RtfToken RtfTokenizer::next()
{
    while (m_position < m_data.size()) {
        const char c = m_data[m_position];
        switch (c) {
        case '{':
            ++m_position;
            return tokenOf(RtfToken::Kind::GroupStart);
        case '}':
            ++m_position;
            return tokenOf(RtfToken::Kind::GroupEnd);
        case '\\':
            return readControl();
        case '\r':
        case '\n':
            ++m_position;
            continue;
        default:
            return readText();
        }
    }
    return {};
}

void RtfTokenizer::skipBytes(qint64 count)
{
    if (count <= 0)
        return;
    m_position += qsizetype(std::min<qint64>(count, m_data.size() - m_position));
}

RtfToken RtfTokenizer::readControl()
{
    ++m_position; // the backslash
    if (m_position >= m_data.size())
        return {};
    const char first = m_data[m_position];
    RtfToken token;
    if (!isLetter(first)) {
        ++m_position;
        if (first == '\'') {
            int value = 0;
            int digits = 0;
            while (digits < 2 && m_position < m_data.size()) {
                const int digit = hexValue(m_data[m_position]);
                if (digit < 0)
                    break;
                value = value * 16 + digit;
                ++digits;
                ++m_position;
            }
            token.kind = digits == 0 ? RtfToken::Kind::ControlSymbol : RtfToken::Kind::HexByte;
            token.symbol = digits == 0 ? first : char(value);
            return token;
        }
        token.kind = RtfToken::Kind::ControlSymbol;
        token.symbol = first;
        return token;
    }

    const qsizetype nameStart = m_position;
    while (m_position < m_data.size() && isLetter(m_data[m_position]))
        ++m_position;
    token.kind = RtfToken::Kind::ControlWord;
    token.name = m_data.sliced(nameStart,
        std::min<qsizetype>(m_position - nameStart, RtfLimits::maxControlWordLength));

    bool negative = false;
    if (m_position + 1 < m_data.size() && m_data[m_position] == '-' && isDigit(m_data[m_position + 1])) {
        negative = true;
        ++m_position;
    }
    if (m_position < m_data.size() && isDigit(m_data[m_position])) {
        qint64 value = 0;
        while (m_position < m_data.size() && isDigit(m_data[m_position])) {
            if (value <= std::numeric_limits<int>::max())
                value = value * 10 + (m_data[m_position] - '0');
            ++m_position;
        }
        value = std::min<qint64>(value, std::numeric_limits<int>::max());
        token.hasParameter = true;
        token.parameter = int(negative ? -value : value);
    }
    if (m_position < m_data.size() && m_data[m_position] == ' ')
        ++m_position;
    return token;
}

RtfToken RtfTokenizer::readText()
{
    const qsizetype start = m_position;
    while (m_position < m_data.size() && !endsText(m_data[m_position]))
        ++m_position;
    RtfToken token;
    token.kind = RtfToken::Kind::Text;
    token.text = m_data.sliced(start, m_position - start);
    return token;
}

} // namespace norvelle
