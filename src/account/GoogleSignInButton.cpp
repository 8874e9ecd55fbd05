#include "account/GoogleSignInButton.h"

#include "ui/SchemeColors.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

namespace norvelle {

namespace {

bool isDark(const QWidget& widget)
{
    return SchemeColors::isDarkScheme(widget.palette());
}

} // namespace

GoogleSignInButton::GoogleSignInButton(QWidget* parent)
    : QAbstractButton(parent)
{
    setText(QStringLiteral("Continue with Google"));
    setCursor(Qt::PointingHandCursor);
    setMinimumHeight(44);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

QSize GoogleSignInButton::sizeHint() const
{
    return {260, 44};
}

void GoogleSignInButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    const bool dark = isDark(*this);
    const QRectF box = QRectF(rect()).adjusted(0.5, 0.5, -0.5, -0.5);
    QPainterPath shape;
    shape.addRoundedRect(box, 8, 8);
    painter.fillPath(shape, dark ? QColor::fromRgbF(0.18f, 0.18f, 0.18f) : QColor(Qt::white));
    QColor border = palette().color(QPalette::WindowText);
    border.setAlphaF(0.18f);
    painter.setPen(QPen(border, 1));
    painter.drawPath(shape);
    if (isDown()) {
        painter.fillPath(shape, QColor(0, 0, 0, 20));
    }

    QFont letterFont = font();
    letterFont.setPixelSize(16);
    letterFont.setBold(true);
    QFont labelFont = font();
    labelFont.setPixelSize(14);
    labelFont.setWeight(QFont::DemiBold);
    const int letterWidth = QFontMetrics(letterFont).horizontalAdvance(u'G');
    const int labelWidth = QFontMetrics(labelFont).horizontalAdvance(text());
    const int left = (width() - letterWidth - 8 - labelWidth) / 2;
    const QRect letterRect(left, 0, letterWidth, height());

    QLinearGradient gradient(letterRect.topLeft(), letterRect.bottomRight());
    gradient.setColorAt(0.0, QColor::fromRgbF(0.26f, 0.52f, 0.96f));
    gradient.setColorAt(1.0 / 3, QColor::fromRgbF(0.92f, 0.26f, 0.21f));
    gradient.setColorAt(2.0 / 3, QColor::fromRgbF(0.98f, 0.74f, 0.02f));
    gradient.setColorAt(1.0, QColor::fromRgbF(0.2f, 0.66f, 0.33f));
    painter.setFont(letterFont);
    painter.setPen(QPen(QBrush(gradient), 1));
    painter.drawText(letterRect, Qt::AlignCenter, QStringLiteral("G"));

    painter.setFont(labelFont);
    painter.setPen(dark ? QColor(Qt::white) : QColor(Qt::black));
    painter.drawText(QRect(left + letterWidth + 8, 0, labelWidth + 2, height()), Qt::AlignVCenter | Qt::AlignLeft, text());
}

} // namespace norvelle
