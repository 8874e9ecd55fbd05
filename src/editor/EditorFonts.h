#pragma once

#include <QFont>
#include <QTextCharFormat>

namespace norvelle {

// The editor's fonts: the desktop's regular and monospaced fonts at a size and weight.
class EditorFonts {
public:
    static constexpr int regular = 400;
    static constexpr int semibold = 600;
    static constexpr int bold = 700;

    static QFont system(qreal pointSize, int weight = regular);
    static QFont monospaced(qreal pointSize);
    // The same as character attributes: family, size, weight and upright, nothing else.
    static QTextCharFormat systemFormat(qreal pointSize, int weight = regular);
    static QTextCharFormat monospacedFormat(qreal pointSize);
};

} // namespace norvelle
