#pragma once

#include <QFont>
#include <QStringView>
#include <QTextOption>

namespace norvelle {

// How the editor wraps its lines. At word boundaries, as a note reads best, unless the text
// holds a long run with no place to break a line in it (a pasted key, a minified file): to
// wrap such a run at word boundaries the text layout scans what is left of the run for every
// line it makes, so a megabyte on one line takes minutes. Wrapping anywhere lays it out in one
// pass.
class LongLineWrap {
public:
    // Longer than any word or link a note holds.
    static constexpr qsizetype unbreakableRunLimit = 1000;

    static bool hasUnbreakableRun(QStringView text);
    static QTextOption::WrapMode wrapModeFor(QStringView text)
    {
        return hasUnbreakableRun(text) ? QTextOption::WrapAnywhere : QTextOption::WrapAtWordBoundaryOrAnywhere;
    }
    // The text's default font in that mode. Wrapped anywhere, it is laid out without shaping
    // where its script can do without (kerning and ligatures between letters of a key or an
    // encoded file): shaping takes two thirds of the time a long run takes to lay out.
    static QFont fontFor(QFont font, QTextOption::WrapMode mode)
    {
        font.setStyleStrategy(mode == QTextOption::WrapAnywhere ? QFont::PreferNoShaping : QFont::PreferDefault);
        return font;
    }
};

} // namespace norvelle
