#pragma once

#include <QColor>
#include <QPalette>

#include <functional>

namespace norvelle {

// The colours of painted views for the light or dark scheme: in the dark scheme
// white at an opacity, in the light one black at an opacity or the palette's text colours.
class SchemeColors {
public:
    explicit SchemeColors(const QPalette& palette);

    // Dark when the palette's window colour is dark.
    static bool isDarkScheme(const QPalette& palette);

    // White at `darkOpacity` in the dark scheme, black at `lightOpacity` in the light one.
    QColor overlay(qreal darkOpacity, qreal lightOpacity) const;

    QColor label() const;
    QColor secondaryText() const;
    QColor tertiaryText() const;
    QColor footerText() const;
    QColor accent() const;
    QColor background() const;
    // Behind the workspace and settings windows: a deeper grey than the palette's in the dark
    // scheme, the palette's window colour in the light one.
    QColor windowBackground() const;
    QColor destructive() const;

    static QColor stripBlue(qreal opacity = 1.0);
    static QColor stickyViolet();

private:
    QColor textAt(qreal opacity) const;

    QPalette m_palette;
    bool m_dark;
};

// A colour chosen from the scheme when drawn, so a change of the desktop palette shows at once.
using SchemeColorRole = std::function<QColor(const SchemeColors&)>;

} // namespace norvelle
