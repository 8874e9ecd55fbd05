#include "editor/LongLineWrap.h"

namespace norvelle {

namespace {

// A place where a line may break (or a line ends): spaces that are no no-break spaces, hyphens,
// and the scripts written without spaces that break between characters.
bool allowsBreak(char16_t c)
{
    if (c < 0x80)
        return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'-' || c == u'/';
    if (c == 0x00A0 || c == 0x2007 || c == 0x202F || c == 0x2060 || c == 0xFEFF)
        return false;
    return QChar::isSpace(c) || c == 0x200B || c == 0x2028 || c == 0x2029 || c == 0xFFFC
        || (c >= 0x2E80 && c <= 0x9FFF) || (c >= 0xAC00 && c <= 0xD7AF) || (c >= 0xF900 && c <= 0xFAFF);
}

} // namespace

bool LongLineWrap::hasUnbreakableRun(QStringView text)
{
    qsizetype run = 0;
    for (const QChar c : text) {
        run = allowsBreak(c.unicode()) ? 0 : run + 1;
        if (run > unbreakableRunLimit)
            return true;
    }
    return false;
}

} // namespace norvelle
