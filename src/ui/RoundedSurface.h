#pragma once

#include "ui/SchemeColors.h"

#include <QWidget>

namespace norvelle {

// A plain container drawn as a filled rounded rectangle (radius 0 gives a plain rectangle, a
// negative radius a capsule).
class RoundedSurface : public QWidget {
public:
    RoundedSurface(SchemeColorRole fill, qreal radius, QWidget* parent = nullptr);

    // A 0.5 line along the edge, inside the shape.
    void setBorder(SchemeColorRole border);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    SchemeColorRole m_fill;
    qreal m_radius;
    SchemeColorRole m_border;
};

} // namespace norvelle
