#pragma once

#include <QRectF>

class QPainter;
class QPushButton;

namespace norvelle {

// The filled brand-gradient look of the onboarding buttons: a white semibold label with 9 px of
// padding above and below and 18 px on each side, on the brand gradient (top left to bottom
// right) in a rectangle rounded by 10 px, a little darker while pressed. No hover or disabled
// look of its own.
struct BrandGradientButtonStyle {
    // Stretch to the width the layout offers instead of hugging the label.
    bool fullWidth = false;

    void apply(QPushButton& button) const;

    // The background alone, for views that draw such a button themselves; a negative radius
    // draws a capsule.
    static void paintBackground(QPainter& painter, const QRectF& rect, bool pressed, qreal radius = 10);
};

} // namespace norvelle
