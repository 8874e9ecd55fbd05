#include "onboarding/SyncPreview.h"

#include "ui/BrandPalette.h"
#include "ui/RoundedPainting.h"
#include "ui/SchemeColors.h"
#include "ui/SymbolImage.h"
#include "ui/ViewFont.h"

#include <QFontMetricsF>
#include <QPainter>

namespace norvelle {

namespace {

constexpr qreal tile = 88;
constexpr qreal tileSpacing = 8;
constexpr qreal columnSpacing = 18;
constexpr qreal linkWidth = 44;

qreal nameHeight()
{
    return QFontMetricsF(viewFont(12, QFont::Medium)).height();
}

} // namespace

SyncPreview::SyncPreview(QWidget* parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize SyncPreview::sizeHint() const
{
    return QSizeF(2 * tile + linkWidth + 2 * columnSpacing, tile + tileSpacing + nameHeight()).toSize();
}

void SyncPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const SchemeColors colors(palette());
    const bool dark = SchemeColors::isDarkScheme(palette());
    const qreal dpr = painter.device()->devicePixelRatioF();
    const QSizeF size = QSizeF(sizeHint());
    const QPointF origin((width() - size.width()) / 2, (height() - size.height()) / 2);

    const auto paintDevice = [&](qreal left, const QString& symbol, const QString& name) {
        const QRectF box(origin.x() + left, origin.y(), tile, tile);
        fillRounded(painter, box, 16, dark ? QColor(255, 255, 255, 18) : QColor(255, 255, 255, 150));
        QColor ink = colors.label();
        ink.setAlphaF(0.7f);
        painter.drawImage(QPointF(box.center().x() - 18, box.center().y() - 18), symbolImage(symbol, 36, ink, dpr));
        painter.setFont(viewFont(12, QFont::Medium));
        painter.setPen(colors.secondaryText());
        painter.drawText(QRectF(box.left() - 10, box.bottom() + tileSpacing, tile + 20, nameHeight()), Qt::AlignCenter, name);
    };
    paintDevice(0, QStringLiteral("laptopcomputer"), QStringLiteral("Laptop"));
    paintDevice(tile + 2 * columnSpacing + linkWidth, QStringLiteral("desktopcomputer"), QStringLiteral("Desktop"));

    const QFont wordFont = viewFont(9);
    const qreal wordHeight = QFontMetricsF(wordFont).height();
    const qreal linkHeight = 16 + 3 + wordHeight;
    const qreal linkLeft = origin.x() + tile + columnSpacing;
    const qreal linkTop = origin.y() + (tile - linkHeight) / 2;
    painter.drawImage(QPointF(linkLeft + (linkWidth - 16) / 2, linkTop),
        symbolImage(QStringLiteral("arrow.left.arrow.right"), 16, brandPurple(), dpr));
    painter.setFont(wordFont);
    painter.setPen(colors.tertiaryText());
    painter.drawText(QRectF(linkLeft - 10, linkTop + 19, linkWidth + 20, wordHeight), Qt::AlignCenter, QStringLiteral("synced"));
}

} // namespace norvelle
