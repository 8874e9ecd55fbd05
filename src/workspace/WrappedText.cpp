#include "workspace/WrappedText.h"

#include "ui/IsolatedText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

namespace norvelle {

namespace {

QStaticText staticLine(const QString& text, const QFont& font)
{
    QStaticText line(text);
    line.setTextFormat(Qt::PlainText);
    line.setPerformanceHint(QStaticText::AggressiveCaching);
    line.prepare(QTransform(), font);
    return line;
}

} // namespace

WrappedText::WrappedText(const QString& text, const QFont& font, qreal width, int maxLines, qreal firstLineLeft,
    qreal firstLineRight)
    : m_font(font)
{
    const QFontMetricsF metrics(font);
    // A preview line can be long: no more is laid out than the lines can show.
    const QString shown = text.left(qsizetype(maxLines) * 200);
    QTextLayout layout(shown, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    std::vector<QTextLine> lines;
    while (int(lines.size()) < maxLines) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            break;
        }
        const bool first = lines.empty();
        line.setLineWidth(first ? width - firstLineLeft - firstLineRight : width);
        line.setPosition(QPointF(first ? firstLineLeft : 0, m_height));
        lines.push_back(line);
        m_height += metrics.lineSpacing();
    }
    layout.endLayout();
    for (size_t i = 0; i < lines.size(); ++i) {
        const QTextLine& line = lines[i];
        const bool more = line.textStart() + line.textLength() < shown.size();
        const QString words = i + 1 == lines.size() && more
            ? metrics.elidedText(shown.mid(line.textStart()).simplified(), Qt::ElideRight, line.width())
            : shown.mid(line.textStart(), line.textLength());
        m_lines.push_back({line.x(), line.y(), staticLine(isolatedText(words), font)});
    }
}

void WrappedText::draw(QPainter& painter, QPointF topLeft, const QColor& color) const
{
    painter.save();
    painter.setPen(color);
    painter.setFont(m_font);
    for (const Line& line : m_lines) {
        painter.drawStaticText(QPointF(topLeft.x() + line.x, topLeft.y() + line.y), line.text);
    }
    painter.restore();
}

} // namespace norvelle
