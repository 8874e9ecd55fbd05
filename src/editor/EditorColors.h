#pragma once

#include <QColor>
#include <QString>

namespace norvelle {

// The colours an editor derives from its paper: table borders and cell backgrounds, the
// selection and the checklist boxes all follow the paper, so a note reads on any colour.
class EditorColors {
public:
    // An unreadable paper text gives the desktop's window colour as paper.
    explicit EditorColors(const QString& paperHex);

    static QColor accent();
    // a + (b − a) × t per component, t clamped to [0, 1], alpha 1.
    static QColor blend(const QColor& from, const QColor& to, qreal fraction);
    // Both invalid, or every component (alpha too) within 0.02.
    static bool colorsMatch(const QColor& a, const QColor& b);

    const QColor& paper() const { return m_paper; }
    // Rec. 601 luminance below 0.45.
    bool isDark() const { return m_dark; }

    QColor tableBorder() const;
    QColor tableCellBackground() const;
    QColor selectionHighlight() const;
    QColor checklistMarker() const;

private:
    QColor m_paper;
    bool m_dark;
};

} // namespace norvelle
