#include "workspace/WrappedText.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QTextLayout>

namespace norvelle {

qreal drawWrappedText(QPainter* painter, QPointF topLeft, qreal width, const QString& text, const QFont& font,
                      const QColor& color, int maxLines)
{
    const QFontMetricsF metrics(font);
    // A preview line can be long: no more is laid out than the lines can show.
    const QString shown = text.left(qsizetype(maxLines) * 200);
    QTextLayout layout(shown, font);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    layout.beginLayout();
    qreal y = 0;
    int lines = 0;
    QList<QPair<QTextLine, QPointF>> placed;
    while (lines < maxLines) {
        QTextLine line = layout.createLine();
        if (!line.isValid()) {
            break;
        }
        line.setLineWidth(width);
        line.setPosition(QPointF(0, y));
        placed << qMakePair(line, QPointF(0, y));
        y += metrics.lineSpacing();
        ++lines;
    }
    layout.endLayout();
    if (!painter || placed.isEmpty()) {
        return y;
    }
    painter->save();
    painter->setPen(color);
    painter->setFont(font);
    for (qsizetype i = 0; i < placed.size(); ++i) {
        const QTextLine& line = placed[i].first;
        const bool last = i == placed.size() - 1;
        const bool more = line.textStart() + line.textLength() < shown.size();
        if (last && more) {
            const QString rest = shown.mid(line.textStart()).simplified();
            painter->drawText(QPointF(topLeft.x(), topLeft.y() + placed[i].second.y() + metrics.ascent()),
                              metrics.elidedText(rest, Qt::ElideRight, width));
        } else {
            line.draw(painter, topLeft);
        }
    }
    painter->restore();
    return y;
}

} // namespace norvelle
