#pragma once

#include <QColor>
#include <QString>

class QPainter;
class QPixmap;
class QRectF;
class QSize;

namespace norvelle {

class StickyNote;

// A note drawn on its own paper, as cards and chips show it: the paper colour at the note's
// opacity, its texture, and text colours that read on it.
struct NotePaper {
    explicit NotePaper(const StickyNote& note);
    // From the note's stored paper colour and texture name (null when it has none) and opacity.
    NotePaper(const QString& paperColor, const QString& textureName, double opacity);

    QString paper; // "#FDFDF8" when the note has none
    QString texture; // "lined" when the note has none
    double fillOpacity;
    double textureOpacity;
    bool isDark;
    QColor primary;
    QColor secondary;
    QColor tertiary;

    // The violet outline of a pinned note.
    static QColor pinnedAccent();

    // Fill and texture inside the rounded rectangle.
    void paint(QPainter& painter, const QRectF& rect, qreal cornerRadius) const;

private:
    const QPixmap& tile(const QRectF& rect, QSize tileSize, qreal cornerRadius, qreal dpr) const;
};

// White, white at 0.82 and at 0.64 where white text reads at least as well as black on the
// paper; else black at 0.88, 0.58 and 0.45. The note's opacity plays no part.
struct PaperTextColors {
    QColor primary;
    QColor secondary;
    QColor tertiary;
};
PaperTextColors paperTextColors(const QString& paper);

} // namespace norvelle
