#include "ui/SymbolGlyph.h"

#include <QPainterPath>

#include <algorithm>
#include <array>
#include <functional>
#include <map>

namespace norvelle {

namespace {

// Draws in a unit square: (0, 0) top left, (1, 1) bottom right.
struct Glyph {
    QPainter& painter;
    QRectF square;
    QColor color;
    qreal stroke;

    QPointF at(qreal x, qreal y) const { return {square.left() + x * square.width(), square.top() + y * square.height()}; }
    qreal size(qreal fraction) const { return fraction * square.width(); }

    void line(qreal x1, qreal y1, qreal x2, qreal y2) const { painter.drawLine(at(x1, y1), at(x2, y2)); }
    void polyline(std::initializer_list<QPointF> points) const
    {
        QPainterPath path;
        bool first = true;
        for (const QPointF& point : points) {
            first ? path.moveTo(at(point.x(), point.y())) : path.lineTo(at(point.x(), point.y()));
            first = false;
        }
        painter.drawPath(path);
    }
    void dot(qreal x, qreal y, qreal radius) const
    {
        painter.save();
        painter.setPen(Qt::NoPen);
        painter.setBrush(color);
        painter.drawEllipse(at(x, y), size(radius), size(radius));
        painter.restore();
    }
    void text(const QString& characters, const QRectF& unitRect, qreal height) const
    {
        painter.save();
        QFont font = painter.font();
        font.setPixelSize(std::max(1, int(size(height))));
        font.setBold(true);
        painter.setFont(font);
        const QRectF rect(at(unitRect.left(), unitRect.top()), at(unitRect.right(), unitRect.bottom()));
        painter.drawText(rect, Qt::AlignCenter, characters);
        painter.restore();
    }
};

void alignedLines(const Glyph& g, Qt::Alignment alignment)
{
    const std::array<qreal, 4> lengths {0.84, 0.56, 0.84, 0.56};
    for (int row = 0; row < 4; ++row) {
        const qreal length = alignment == Qt::AlignJustify ? 0.84 : lengths[row];
        const qreal left = alignment == Qt::AlignRight ? 0.92 - length
            : alignment == Qt::AlignHCenter            ? 0.5 - length / 2
                                                       : 0.08;
        const qreal y = 0.2 + row * 0.2;
        g.line(left, y, left + length, y);
    }
}

void listRows(const Glyph& g, const std::function<void(int row, qreal y)>& marker)
{
    for (int row = 0; row < 3; ++row) {
        const qreal y = 0.22 + row * 0.28;
        marker(row, y);
        g.line(0.38, y, 0.94, y);
    }
}

using Drawing = std::function<void(const Glyph&)>;

const std::map<QString, Drawing>& drawings()
{
    static const std::map<QString, Drawing> table {
        {"checkmark", [](const Glyph& g) { g.polyline({{0.16, 0.54}, {0.4, 0.78}, {0.86, 0.24}}); }},
        {"chevron.down", [](const Glyph& g) { g.polyline({{0.2, 0.36}, {0.5, 0.66}, {0.8, 0.36}}); }},
        {"chevron.right", [](const Glyph& g) { g.polyline({{0.36, 0.2}, {0.66, 0.5}, {0.36, 0.8}}); }},
        {"rectangle",
            [](const Glyph& g) { g.painter.drawRoundedRect(QRectF(g.at(0.06, 0.2), g.at(0.94, 0.8)), g.size(0.08), g.size(0.08)); }},
        {"line.3.horizontal",
            [](const Glyph& g) {
                for (const qreal y : {0.24, 0.5, 0.76})
                    g.line(0.1, y, 0.9, y);
            }},
        {"square.grid.3x3",
            [](const Glyph& g) {
                for (int row = 0; row < 3; ++row) {
                    for (int column = 0; column < 3; ++column) {
                        const QPointF corner = g.at(0.08 + column * 0.3, 0.08 + row * 0.3);
                        g.painter.drawRoundedRect(QRectF(corner, QSizeF(g.size(0.24), g.size(0.24))), g.size(0.04), g.size(0.04));
                    }
                }
            }},
        {"circle.grid.3x3",
            [](const Glyph& g) {
                for (int row = 0; row < 3; ++row) {
                    for (int column = 0; column < 3; ++column)
                        g.dot(0.2 + column * 0.3, 0.2 + row * 0.3, 0.1);
                }
            }},
        {"text.alignleft", [](const Glyph& g) { alignedLines(g, Qt::AlignLeft); }},
        {"text.aligncenter", [](const Glyph& g) { alignedLines(g, Qt::AlignHCenter); }},
        {"text.alignright", [](const Glyph& g) { alignedLines(g, Qt::AlignRight); }},
        {"text.justify", [](const Glyph& g) { alignedLines(g, Qt::AlignJustify); }},
        {"list.bullet", [](const Glyph& g) { listRows(g, [&](int, qreal y) { g.dot(0.14, y, 0.075); }); }},
        {"list.dash", [](const Glyph& g) { listRows(g, [&](int, qreal y) { g.line(0.06, y, 0.24, y); }); }},
        {"list.number",
            [](const Glyph& g) {
                listRows(g, [&](int row, qreal y) { g.text(QString::number(row + 1), {0.0, y - 0.14, 0.3, 0.28}, 0.3); });
            }},
        {"text.quote",
            [](const Glyph& g) { g.text(QStringLiteral("\u201C\u201D"), {0.0, 0.1, 1.0, 1.0}, 0.95); }},
        {"highlighter",
            [](const Glyph& g) {
                // A marker leaning right, its chisel tip at the bottom left above a stroke of ink.
                g.polyline({{0.46, 0.16}, {0.8, 0.5}, {0.58, 0.72}, {0.24, 0.38}, {0.46, 0.16}});
                g.polyline({{0.3, 0.44}, {0.2, 0.66}, {0.3, 0.76}, {0.52, 0.66}});
                g.line(0.08, 0.9, 0.5, 0.9);
            }},
        {"checklist",
            [](const Glyph& g) {
                for (int row = 0; row < 2; ++row) {
                    const qreal y = 0.3 + row * 0.4;
                    g.polyline({{0.06, y}, {0.14, y + 0.08}, {0.3, y - 0.1}});
                    g.line(0.44, y, 0.94, y);
                }
            }},
        {"tablecells",
            [](const Glyph& g) {
                g.painter.drawRoundedRect(QRectF(g.at(0.08, 0.16), g.at(0.92, 0.84)), g.size(0.1), g.size(0.1));
                g.line(0.08, 0.39, 0.92, 0.39);
                g.line(0.08, 0.62, 0.92, 0.62);
                g.line(0.5, 0.16, 0.5, 0.84);
            }},
        {"circle.righthalf.filled",
            [](const Glyph& g) {
                const QRectF circle(g.at(0.1, 0.1), g.at(0.9, 0.9));
                QPainterPath half;
                half.moveTo(circle.center());
                half.arcTo(circle, 90, -180);
                half.closeSubpath();
                g.painter.fillPath(half, g.color);
                g.painter.drawEllipse(circle);
            }},
    };
    return table;
}

} // namespace

void drawSymbolGlyph(QPainter& painter, const QString& name, const QRectF& box, const QColor& color, qreal weight)
{
    const auto found = drawings().find(name);
    if (found == drawings().end()) {
        return;
    }
    const qreal side = std::min(box.width(), box.height());
    const QRectF square(box.center().x() - side / 2, box.center().y() - side / 2, side, side);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    const qreal stroke = std::max(1.0, side * 0.085 * weight);
    painter.setPen(QPen(color, stroke, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.setBrush(Qt::NoBrush);
    found->second(Glyph {painter, square, color, stroke});
    painter.restore();
}

} // namespace norvelle
