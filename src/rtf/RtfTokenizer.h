#pragma once

#include <QByteArray>
#include <QByteArrayView>

namespace norvelle {

struct RtfToken {
    enum class Kind {
        End,
        GroupStart,
        GroupEnd,
        ControlWord, // name, hasParameter, parameter
        ControlSymbol, // symbol: the character after the backslash
        HexByte, // symbol: the byte of \'hh
        Text, // text: raw bytes up to the next special character
    };
    Kind kind = Kind::End;
    QByteArrayView name;
    bool hasParameter = false;
    int parameter = 0;
    char symbol = 0;
    QByteArrayView text;
};

// Splits RTF bytes into tokens. Never reads past the data; control-word names longer than
// the limit are cut (the rest of the letters are consumed), parameters saturate at int range,
// raw CR and LF are dropped.
class RtfTokenizer {
public:
    explicit RtfTokenizer(QByteArrayView data)
        : m_data(data)
    {
    }

    RtfToken next();
    // For \binN: skips up to `count` bytes of binary data.
    void skipBytes(qint64 count);

private:
    RtfToken readControl();
    RtfToken readText();

    QByteArrayView m_data;
    qsizetype m_position = 0;
};

} // namespace norvelle
