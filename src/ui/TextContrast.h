#pragma once

#include <QColor>
#include <QString>

namespace norvelle {

// Choosing light or dark text for a paper colour.

// WCAG relative luminance; 1.0 for an invalid colour.
double relativeLuminance(const QColor& color);

// WCAG contrast ratio (1 to 21) of `text` drawn over the opaque `background`, `text`'s own
// opacity taken into account.
double contrastRatio(const QColor& text, const QColor& background);

// Whether light text belongs on this paper: its plain (not linearised) luma is below 0.5.
// A paper below 0.35 opacity is never dark; an unreadable hex gives `fallback`.
bool isDarkHexColor(const QString& hex, bool fallback, double opacity);

// Whether white text contrasts at least as well as black on this colour (a tie picks white).
// False for an unreadable hex.
bool compareTextContrast(const QString& hex);

// The fill behind and the two text colours of a card on this paper.
struct ReadableTextColors {
    QColor first;
    QColor second;
    QColor third;
};
ReadableTextColors readableTextColors(const QString& hex);

} // namespace norvelle
