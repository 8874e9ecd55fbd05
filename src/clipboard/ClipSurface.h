#pragma once

#include "clipboard/ClipColors.h"

#include <QWidget>

namespace norvelle {

// A plain container drawn as a filled rounded rectangle (radius 0 gives a plain rectangle, a
// negative radius a capsule).
class ClipSurface : public QWidget {
public:
    ClipSurface(ClipColorRole fill, qreal radius, QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    ClipColorRole m_fill;
    qreal m_radius;
};

} // namespace norvelle
