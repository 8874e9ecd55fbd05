#include "editor/EditorColors.h"

#include "ui/HexColor.h"

#include <QApplication>
#include <QPalette>

#include <algorithm>
#include <cmath>

namespace norvelle {

EditorColors::EditorColors(const QString& paperHex)
{
    const std::optional<QColor> parsed = colorFromHex(paperHex);
    m_paper = parsed ? *parsed : QApplication::palette().color(QPalette::Window).toRgb();
    m_dark = 0.299 * m_paper.redF() + 0.587 * m_paper.greenF() + 0.114 * m_paper.blueF() < 0.45;
}

QColor EditorColors::accent()
{
    const QColor highlight = QApplication::palette().color(QPalette::Highlight);
    return highlight.isValid() ? highlight.toRgb() : QColor(0x00, 0x7A, 0xFF);
}

QColor EditorColors::blend(const QColor& from, const QColor& to, qreal fraction)
{
    const qreal t = std::isnan(fraction) ? 0 : std::clamp<qreal>(fraction, 0, 1);
    const QColor a = from.toRgb();
    const QColor b = to.toRgb();
    return QColor::fromRgbF(float(a.redF() + (b.redF() - a.redF()) * t), float(a.greenF() + (b.greenF() - a.greenF()) * t),
        float(a.blueF() + (b.blueF() - a.blueF()) * t), 1.0f);
}

bool EditorColors::colorsMatch(const QColor& a, const QColor& b)
{
    if (!a.isValid() || !b.isValid())
        return a.isValid() == b.isValid();
    if (a == b)
        return true;
    const QColor x = a.toRgb();
    const QColor y = b.toRgb();
    return std::abs(x.redF() - y.redF()) < 0.02 && std::abs(x.greenF() - y.greenF()) < 0.02
        && std::abs(x.blueF() - y.blueF()) < 0.02 && std::abs(x.alphaF() - y.alphaF()) < 0.02;
}

QColor EditorColors::tableBorder() const
{
    return m_dark ? QColor::fromRgbF(1, 1, 1, 0.52f) : QColor::fromRgbF(0, 0, 0, 0.36f);
}

QColor EditorColors::tableCellBackground() const
{
    QColor color = m_dark ? blend(m_paper, Qt::white, 0.18) : blend(m_paper, Qt::black, 0.10);
    color.setAlphaF(0.36f);
    return color;
}

QColor EditorColors::selectionHighlight() const
{
    QColor color = blend(m_paper, accent(), m_dark ? 0.5 : 0.3);
    float alpha = m_dark ? 0.55f : 0.42f;
    const bool bluish = m_paper.hsvHueF() >= 0.55f && m_paper.hsvHueF() <= 0.86f && m_paper.hsvSaturationF() > 0.2f
        && m_paper.valueF() < 0.55f;
    if (bluish)
        alpha = std::max(alpha - 0.12f, 0.3f);
    color.setAlphaF(alpha);
    return color;
}

QColor EditorColors::checklistMarker() const
{
    return m_dark ? blend(accent(), Qt::white, 0.34) : blend(accent(), Qt::black, 0.18);
}

} // namespace norvelle
