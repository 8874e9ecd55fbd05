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
// elided: laid out once, then drawn on every frame without shaping it again.
class WrappedText {
public:
    WrappedText(const QString& text, const QFont& font, qreal width, int maxLines);

    // The height the lines take.
    qreal height() const { return m_height; }
    void draw(QPainter& painter, QPointF topLeft, const QColor& color) const;

private:
    struct Line {
        qreal y;
        QStaticText text;
    };
    QFont m_font;
    std::vector<Line> m_lines;
    qreal m_height = 0;
};

} // namespace norvelle
