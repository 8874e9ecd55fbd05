#pragma once

#include <QColor>
#include <QFont>
#include <QPointF>
#include <QStaticText>
#include <QString>

#include <vector>

class QPainter;

namespace norvelle {

// Text wrapped at word boundaries into at most `maxLines` lines of `width`, the last one
// elided: laid out once, then drawn on every frame without shaping it again. The first line
// can be kept clear of something drawn at its start or end (`firstLineLeft`, `firstLineRight`).
class WrappedText {
public:
    WrappedText(const QString& text, const QFont& font, qreal width, int maxLines, qreal firstLineLeft = 0,
        qreal firstLineRight = 0);

    // The height the lines take.
    qreal height() const { return m_height; }
    void draw(QPainter& painter, QPointF topLeft, const QColor& color) const;

private:
    struct Line {
        qreal x;
        qreal y;
        QStaticText text;
    };
    QFont m_font;
    std::vector<Line> m_lines;
    qreal m_height = 0;
};

} // namespace norvelle
