#include "sticky/ShareCard.h"

#include "account/APIConfig.h"
#include "ui/HexColor.h"
#include "ui/TextContrast.h"
#include "ui/ViewFont.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <QUrl>
#include <QWidget>

#include <algorithm>

namespace norvelle {

namespace {

const QColor systemBlue(0, 122, 255);

QColor paperColor(const QString& paperHex)
{
    return colorFromHex(paperHex).value_or(QColor(Qt::white));
}

QColor withAlpha(QColor color, double alpha)
{
    color.setAlphaF(float(color.alphaF() * alpha));
    return color;
}

void fillRounded(QPainter& painter, const QRectF& rect, double radius, const QColor& color)
{
    QPainterPath path;
    path.addRoundedRect(rect, radius, radius);
    painter.fillPath(path, color);
}

// The desktop's fonts run wider than the ones the footer was laid out for: a text too wide for
// its room is set smaller rather than run into its neighbour.
QFont fitted(QFont font, const QString& text, qreal width)
{
    while (font.pixelSize() > 6 && QFontMetricsF(font).horizontalAdvance(text) > width) {
        font.setPixelSize(font.pixelSize() - 1);
    }
    return font;
}

// Returns where the drawn text begins.
qreal drawText(QPainter& painter, const QRectF& rect, const QString& text, const QFont& font, const QColor& color,
    Qt::Alignment alignment = Qt::AlignLeft)
{
    const QFont shown = fitted(font, text, rect.width());
    painter.setFont(shown);
    painter.setPen(color);
    QRectF drawn;
    painter.drawText(rect, alignment | Qt::AlignVCenter | Qt::TextSingleLine, text, &drawn);
    return drawn.left();
}

} // namespace

QImage ShareCard::render(QWidget* content, const QString& paperHex)
{
    if (!content || content->width() <= 1 || content->height() <= 1) {
        QImage plain(1200, 800, QImage::Format_ARGB32_Premultiplied);
        plain.fill(paperColor(paperHex));
        return plain;
    }
    const int width = content->width();
    const int cropHeight = std::max(content->height() - headerHeight - toolbarHeight, 1);
    QImage card(width * scale, cropHeight * scale, QImage::Format_ARGB32_Premultiplied);
    if (card.isNull()) {
        // Too large to hold in memory: the plain card rather than none.
        return render(nullptr, paperHex);
    }
    card.fill(paperColor(paperHex));
    QPainter painter(&card);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::TextAntialiasing | QPainter::SmoothPixmapTransform);
    // The window drawn at four times its size, so its text stays sharp, not an enlarged grab.
    painter.save();
    painter.scale(scale, scale);
    content->render(&painter, QPoint(), QRegion(0, headerHeight, width, cropHeight),
        QWidget::DrawWindowBackground | QWidget::DrawChildren);
    painter.restore();
    drawFooter(painter, card.size(), paperHex);
    return card;
}

void ShareCard::drawFooter(QPainter& painter, QSize size, const QString& paperHex)
{
    const ReadableTextColors colors = readableTextColors(paperHex);
    const double linkAlpha = compareTextContrast(paperHex) ? 0.9 : 0.94;
    const QRectF panel(size.width() - 296 - 24, size.height() - 18 - 64, 296, 64);
    const double middle = panel.center().y();
    fillRounded(painter, panel, 12, colors.first);

    const QRectF badge(panel.left() + 12, middle - 20, 40, 40);
    fillRounded(painter, badge, 10, withAlpha(systemBlue, 0.92));
    const QString product = QStringLiteral("Norvelle");
    drawText(painter, QRectF(badge.left() + 11, badge.top() + 9, 20, 26), product.left(1),
        viewFont(23, QFont::ExtraBold), Qt::white, Qt::AlignHCenter);

    const qreal callStart = drawText(painter, QRectF(panel.right() - 124, middle - 18, 98, 16), QStringLiteral("Get the app"),
        viewFont(13, QFont::DemiBold), withAlpha(colors.second, 0.85), Qt::AlignRight);
    const qreal linkStart = drawText(painter, QRectF(panel.right() - 142, middle - 2, 116, 16),
        QUrl(APIConfig::webOrigin()).host(), viewFont(14, QFont::Bold),
        withAlpha(systemBlue, linkAlpha), Qt::AlignRight);
    const qreal left = badge.right() + 10;
    constexpr qreal gap = 8;
    drawText(painter, QRectF(left, middle - 24, std::min<qreal>(120, callStart - gap - left), 20), product,
        viewFont(18, QFont::DemiBold), colors.second);
    drawText(painter, QRectF(left, middle - 2, std::min<qreal>(132, linkStart - gap - left), 16),
        QStringLiteral("Made with Norvelle"), viewFont(12, QFont::Medium), colors.third);
}

} // namespace norvelle
