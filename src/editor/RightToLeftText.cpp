#include "editor/RightToLeftText.h"

namespace norvelle {

bool RightToLeftText::isIn(QStringView text)
{
    // No character before Hebrew is written right to left.
    constexpr char16_t firstRightToLeft = 0x0590;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i].unicode();
        if (unit < firstRightToLeft)
            continue;
        char32_t character = unit;
        if (QChar::isHighSurrogate(unit) && i + 1 < text.size() && text[i + 1].isLowSurrogate())
            character = QChar::surrogateToUcs4(unit, text[++i].unicode());
        const QChar::Direction direction = QChar::direction(character);
        if (direction == QChar::DirR || direction == QChar::DirAL)
            return true;
    }
    return false;
}

} // namespace norvelle
