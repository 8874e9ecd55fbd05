#pragma once

#include "ui/SchemeColors.h"

#include <QWidget>

namespace norvelle {

// A full-width line `thickness` logical pixels high (a fraction stays sharp at higher ratios).
class ClipRule : public QWidget {
public:
    ClipRule(SchemeColorRole color, qreal thickness, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SchemeColorRole m_color;
    qreal m_thickness;
};

} // namespace norvelle
