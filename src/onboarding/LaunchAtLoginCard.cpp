#include "onboarding/LaunchAtLoginCard.h"

#include "onboarding/CheckMark.h"
#include "ui/BrandPalette.h"
#include "ui/RoundedPainting.h"
#include "ui/SchemeColors.h"
#include "ui/ViewFont.h"

#include <QFontMetricsF>
#include <QPainter>

namespace norvelle {

namespace {

constexpr int cardWidth = 420;
constexpr qreal padding = 12;
constexpr qreal markSize = 20;
constexpr qreal spacing = 12;
constexpr qreal radius = 12;

const QString title = QStringLiteral("Launch Norvelle at login");
const QString detail = QStringLiteral("Keep your clipboard and notes a shortcut away, every time you start your computer.");

QRectF detailRect(qreal width)
{
    const qreal textWidth = width - 2 * padding - markSize - spacing;
    return QFontMetricsF(viewFont(11)).boundingRect(QRectF(0, 0, textWidth, 1000), Qt::TextWordWrap, detail);
}

} // namespace

LaunchAtLoginCard::LaunchAtLoginCard(QWidget* parent)
    : QAbstractButton(parent)
{
    setCheckable(true);
    setText(title);
    setAccessibleName(title);
    setCursor(Qt::PointingHandCursor);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

QSize LaunchAtLoginCard::sizeHint() const
{
    const qreal titleHeight = QFontMetricsF(viewFont(13.5, QFont::DemiBold)).height();
    const qreal textHeight = titleHeight + 2 + detailRect(cardWidth).height();
    return QSizeF(cardWidth, std::max(textHeight, markSize) + 2 * padding).toSize();
}

void LaunchAtLoginCard::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const SchemeColors colors(palette());
    const bool on = isChecked();
    const QRectF card = QRectF(rect()).adjusted(1, 1, -1, -1);
    QColor fill = on ? brandPurple() : colors.label();
    fill.setAlphaF(on ? 0.1f : 0.03f);
    fillRounded(painter, card, radius, fill);
    QColor outline = on ? brandPurple() : colors.label();
    outline.setAlphaF(on ? 1.0f : 0.12f);
    strokeRounded(painter, card, radius, outline, on ? 2 : 1);

    const qreal titleHeight = QFontMetricsF(viewFont(13.5, QFont::DemiBold)).height();
    const QRectF detailBox = detailRect(width());
    const qreal textHeight = titleHeight + 2 + detailBox.height();
    const qreal top = (height() - textHeight) / 2;
    const QRectF icon(padding, (height() - markSize) / 2, markSize, markSize);
    if (on) {
        paintTickedCircle(painter, icon, brandPurple(), 2.2);
    } else {
        paintOpenCircle(painter, icon, colors.secondaryText(), 1.8);
    }
    const qreal textLeft = padding + markSize + spacing;
    painter.setFont(viewFont(13.5, QFont::DemiBold));
    painter.setPen(colors.label());
    painter.drawText(QRectF(textLeft, top, width() - textLeft - padding, titleHeight), Qt::AlignLeft | Qt::AlignVCenter, title);
    painter.setFont(viewFont(11));
    painter.setPen(colors.secondaryText());
    painter.drawText(QRectF(textLeft, top + titleHeight + 2, detailBox.width() + 1, detailBox.height()),
        Qt::TextWordWrap | Qt::AlignLeft, detail);
}

} // namespace norvelle
