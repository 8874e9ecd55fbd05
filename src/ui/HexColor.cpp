#include "ui/HexColor.h"

#include "platform/GraphemeWalker.h"

#include <cmath>

namespace norvelle {

namespace {

const QString defaultPaperHex = "#FDFDF8";

int hexDigitValue(QChar c)
{
    const char16_t u = c.unicode();
    if (u >= u'0' && u <= u'9') {
        return u - u'0';
    }
    if (u >= u'a' && u <= u'f') {
        return u - u'a' + 10;
    }
    if (u >= u'A' && u <= u'F') {
        return u - u'A' + 10;
    }
    return -1;
}

// Like the standard unsigned parser: a leading "+" is taken, and "-" only for a zero value.
std::optional<quint32> parseSixHexDigits(QStringView text)
{
    // Only six single ASCII characters can parse, so UTF-16 length decides like a character count.
    if (text.size() != 6) {
        return std::nullopt;
    }
    const QChar sign = text.front();
    const QStringView digits = (sign == u'+' || sign == u'-') ? text.sliced(1) : text;
    quint32 value = 0;
    for (const QChar c : digits) {
        const int digit = hexDigitValue(c);
        if (digit < 0) {
            return std::nullopt;
        }
        value = value * 16 + quint32(digit);
    }
    if (sign == u'-' && value != 0) {
        return std::nullopt;
    }
    return value;
}

int truncatedByte(float component)
{
    if (!(component > 0.0f)) {
        return 0;
    }
    if (component >= 1.0f) {
        return 255;
    }
    return int(double(component) * 255.0);
}

// Sixteen-bit channels hold v/255 exactly as v * 257, so integer arithmetic truncates without
// the float error that would turn 0.2 * 255 into 50.99999.
int truncatedByte(quint16 channel)
{
    return int(quint32(channel) * 255 / 65535);
}

} // namespace

QString normalizePaperHex(const QString& hex)
{
    QString text = hex.trimmed();
    if (!text.startsWith(u'#')) {
        text.prepend(u'#');
    }
    const QStringList characters = GraphemeWalker::split(text);
    if (characters.size() == 4) {
        text = "#";
        for (qsizetype i = 1; i < 4; ++i) {
            text += characters[i] + characters[i];
        }
    }
    return text.toUpper();
}

std::optional<QColor> colorFromHex(const QString& hex)
{
    QStringView text = QStringView(hex).trimmed();
    if (text.startsWith(u'#')) {
        text = text.sliced(1);
    }
    const std::optional<quint32> value = parseSixHexDigits(text);
    if (!value) {
        return std::nullopt;
    }
    return QColor::fromRgb(int((*value >> 16) & 0xFF), int((*value >> 8) & 0xFF), int(*value & 0xFF));
}

QColor colorFromHexOrWhite(const QString& hex)
{
    return colorFromHex(normalizePaperHex(hex)).value_or(QColor(Qt::white));
}

QString hexString(const QColor& color)
{
    if (!color.isValid()) {
        return defaultPaperHex;
    }
    int red = 0;
    int green = 0;
    int blue = 0;
    if (color.spec() == QColor::ExtendedRgb) {
        red = truncatedByte(color.redF());
        green = truncatedByte(color.greenF());
        blue = truncatedByte(color.blueF());
    } else {
        const QRgba64 rgb = color.toRgb().rgba64();
        red = truncatedByte(rgb.red());
        green = truncatedByte(rgb.green());
        blue = truncatedByte(rgb.blue());
    }
    return QString::asprintf("#%02X%02X%02X", red, green, blue);
}

} // namespace norvelle
