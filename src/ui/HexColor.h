#pragma once

#include <QColor>
#include <QString>

#include <optional>

namespace norvelle {

// Colours travel between notes, editor commands and settings as "#RRGGBB" texts.

// Lenient clean-up of a paper colour text: trimmed, "#" in front, "#abc" widened to "#aabbcc",
// upper-cased. Anything else passes through (upper-cased) and fails when read.
QString normalizePaperHex(const QString& hex);

// Strict reader: optional "#", then exactly six hex digits (a leading "+", or "-" for zero, is
// taken as the integer parser takes it). Surrounding white space is ignored. No short or alpha
// form.
std::optional<QColor> colorFromHex(const QString& hex);

// What a swatch shows: normalised first, and opaque white for anything unreadable.
QColor colorFromHexOrWhite(const QString& hex);

// "#RRGGBB", upper case; components are truncated, not rounded, after clamping to 0...1 (NaN
// counts as 0). An invalid colour gives the default paper colour "#FDFDF8".
QString hexString(const QColor& color);

} // namespace norvelle
