#include "ui/ThinControlStyle.h"

#include "ui/RoundedPainting.h"
#include "ui/SchemeColors.h"
#include "ui/SharedStyle.h"

#include <QAbstractButton>
#include <QPainter>
#include <QProxyStyle>
#include <QScrollBar>
#include <QStyleOptionSlider>

#include <algorithm>

namespace norvelle {

namespace {

constexpr int radioMarkSize = 16;
constexpr int scrollBarWidth = 12;
constexpr int minimumHandleLength = 30;

QColor textAt(const QPalette& palette, qreal opacity)
{
    QColor color = palette.color(QPalette::WindowText);
    color.setAlphaF(float(opacity));
    return color;
}

class ThinControlStyle : public QProxyStyle {
public:
    int pixelMetric(PixelMetric metric, const QStyleOption* option, const QWidget* widget) const override
    {
        switch (metric) {
        case PM_ExclusiveIndicatorWidth:
        case PM_ExclusiveIndicatorHeight:
            return radioMarkSize;
        case PM_ScrollBarExtent:
            return scrollBarWidth;
        case PM_ScrollBarSliderMin:
            return minimumHandleLength;
        default:
            return QProxyStyle::pixelMetric(metric, option, widget);
        }
    }

    void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
        const QWidget* widget) const override
    {
        if (element != PE_IndicatorRadioButton) {
            QProxyStyle::drawPrimitive(element, option, painter, widget);
            return;
        }
        const SchemeColors colors(option->palette);
        const QRectF mark = QRectF(option->rect).adjusted(0.5, 0.5, -0.5, -0.5);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        if (option->state & State_On) {
            fillRounded(*painter, mark, -1, colors.accent());
            const qreal dot = mark.width() * 0.36;
            fillRounded(*painter, QRectF(mark.center() - QPointF(dot / 2, dot / 2), QSizeF(dot, dot)), -1, Qt::white);
        } else {
            fillRounded(*painter, mark, -1, colors.overlay(0.08, 0.03));
            strokeRounded(*painter, mark, -1, textAt(option->palette, 0.4), 1);
        }
        if (!(option->state & State_Enabled)) {
            painter->setCompositionMode(QPainter::CompositionMode_DestinationIn);
            fillRounded(*painter, mark, -1, QColor(0, 0, 0, 110));
        }
        painter->restore();
    }

    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
        const QWidget* widget) const override
    {
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || !bar) {
            return QProxyStyle::subControlRect(control, option, part, widget);
        }
        const QRect area = bar->rect;
        const bool horizontal = bar->orientation == Qt::Horizontal;
        const int length = horizontal ? area.width() : area.height();
        const qint64 range = qint64(bar->maximum) - bar->minimum;
        const int handle = range <= 0 ? length
                                      : std::clamp(int(qint64(bar->pageStep) * length / (range + bar->pageStep)), std::min(minimumHandleLength, length), length);
        const int start = sliderPositionFromValue(bar->minimum, bar->maximum, bar->sliderPosition, length - handle, bar->upsideDown);
        const auto span = [&](int from, int size) {
            return horizontal ? QRect(area.x() + from, area.y(), size, area.height())
                              : QRect(area.x(), area.y() + from, area.width(), size);
        };
        switch (part) {
        case SC_ScrollBarSlider: return span(start, handle);
        case SC_ScrollBarSubPage: return span(0, start);
        case SC_ScrollBarAddPage: return span(start + handle, length - start - handle);
        case SC_ScrollBarGroove: return area;
        default: return {};
        }
    }

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option, QPainter* painter,
        const QWidget* widget) const override
    {
        const auto* bar = qstyleoption_cast<const QStyleOptionSlider*>(option);
        if (control != CC_ScrollBar || !bar) {
            QProxyStyle::drawComplexControl(control, option, painter, widget);
            return;
        }
        if (bar->maximum <= bar->minimum) {
            return;
        }
        const bool strong = (bar->state & State_Sunken) || ((bar->state & State_MouseOver) && (bar->activeSubControls & SC_ScrollBarSlider));
        const QRect handle = subControlRect(control, option, SC_ScrollBarSlider, widget);
        const QRectF shape = bar->orientation == Qt::Horizontal ? QRectF(handle).adjusted(2, 3, -2, -3)
                                                                : QRectF(handle).adjusted(3, 2, -3, -2);
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        fillRounded(*painter, shape, -1, textAt(bar->palette, strong ? 0.7 : 0.5));
        painter->restore();
    }
};

} // namespace

void useSchemeRadioMark(QAbstractButton& radioButton)
{
    radioButton.setStyle(sharedStyle<ThinControlStyle>());
}

void useThinScrollBar(QScrollBar& scrollBar)
{
    scrollBar.setStyle(sharedStyle<ThinControlStyle>());
    scrollBar.setAttribute(Qt::WA_Hover);
}

} // namespace norvelle
