#pragma once

#include "clipboard/ClipColors.h"

#include <QWidget>

namespace norvelle {

// A plain container drawn as a filled rounded rectangle (radius 0 gives a plain rectangle, a
// negative radius a capsule), optionally stroked.
class ClipSurface : public QWidget {
public:
    ClipSurface(ClipColorRole fill, qreal radius, QWidget* parent = nullptr);

    void setStroke(ClipColorRole color, qreal width);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ClipColorRole m_fill;
    qreal m_radius;
    ClipColorRole m_stroke;
    qreal m_strokeWidth = 0;
};

} // namespace norvelle
