#include "ui/BrandGradientButtonStyle.h"

#include "ui/BrandPalette.h"
#include "ui/SharedStyle.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>
#include <QProxyStyle>
#include <QPushButton>
#include <QStyleOptionButton>

#include <algorithm>

namespace norvelle {

namespace {

constexpr int horizontalPadding = 18;
constexpr int verticalPadding = 9;
constexpr float pressedBrightness = -0.05f;

// Draws push buttons in the brand look and sizes them as label plus padding.
class GradientPushButtonStyle : public QProxyStyle {
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget) const override
    {
        const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option);
        if (element != CE_PushButton || !button) {
            QProxyStyle::drawControl(element, option, painter, widget);
            return;
        }
        painter->save();
        BrandGradientButtonStyle::paintBackground(*painter, option->rect, option->state & State_Sunken);
        painter->setPen(Qt::white);
        const int mnemonic = styleHint(SH_UnderlineShortcut, option, widget) ? Qt::TextShowMnemonic
                                                                             : Qt::TextHideMnemonic;
        painter->drawText(option->rect, Qt::AlignCenter | mnemonic, button->text);
        painter->restore();
    }

    QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& contentsSize,
        const QWidget* widget) const override
    {
        if (type != CT_PushButton) {
            return QProxyStyle::sizeFromContents(type, option, contentsSize, widget);
        }
        return contentsSize + QSize(2 * horizontalPadding, 2 * verticalPadding);
    }
};

} // namespace

void BrandGradientButtonStyle::apply(QPushButton& button) const
{
    QFont font = button.font();
    font.setPixelSize(14);
    font.setWeight(QFont::DemiBold);
    button.setFont(font);
    button.setStyle(sharedStyle<GradientPushButtonStyle>());
    button.setSizePolicy(fullWidth ? QSizePolicy::Expanding : QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void BrandGradientButtonStyle::paintBackground(QPainter& painter, const QRectF& rect, bool pressed, qreal radius)
{
    const QLinearGradient gradient = brandGradient(rect, pressed ? pressedBrightness : 0.0f);
    const qreal corner = radius < 0 ? std::min(rect.width(), rect.height()) / 2 : radius;
    QPainterPath shape;
    shape.addRoundedRect(rect, corner, corner);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.fillPath(shape, gradient);
    painter.restore();
}

} // namespace norvelle
