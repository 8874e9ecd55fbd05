#pragma once

#include <QFont>
#include <QTextCharFormat>

#include <optional>

namespace norvelle {

// The editor's fonts: the desktop's regular and monospaced fonts at a size and weight. Sizes
// are the program's points, one logical pixel each, as in every other view.
class EditorFonts {
public:
    static constexpr int regular = 400;
    static constexpr int semibold = 600;
    static constexpr int bold = 700;

    static QFont system(qreal size, int weight = regular);
    // The same as character attributes: family, size, weight and upright, nothing else.
    static QTextCharFormat systemFormat(qreal size, int weight = regular);
    static QTextCharFormat monospacedFormat(qreal size);
    // The size a format gives its text, none when it gives none.
    static std::optional<qreal> size(const QTextFormat& format);
    // The size a font draws at.
    static qreal size(const QFont& font);
};

} // namespace norvelle
