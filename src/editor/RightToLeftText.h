#pragma once

#include <QStringView>
#include <QTextOption>

namespace norvelle {

// Whether a text holds a letter written right to left. A paragraph whose direction is left to
// Qt is laid out in the direction of its first such or left-to-right letter, and Qt looks for
// it in every paragraph it moves, so in a large note every key paid for a look at every
// paragraph after the caret. A note without right-to-left letters reads left to right in every
// paragraph either way, and is given that direction outright.
class RightToLeftText {
public:
    static bool isIn(QStringView text);
    // Left to right for a text without a right-to-left letter, else each paragraph's own.
    static Qt::LayoutDirection directionFor(QStringView text)
    {
        return isIn(text) ? Qt::LayoutDirectionAuto : Qt::LeftToRight;
    }
};

} // namespace norvelle
