#pragma once

#include <QWidget>

class QLabel;
class QSlider;

namespace norvelle {

// The pill's transparency popover: "Transparency", the opacity as a percentage (100% is
// opaque) and a slider from 0.16 to 1.0 that writes each move at once. On a desktop without a
// compositing manager, where no window can be see-through, one line says so.
class StickyTransparencyView : public QWidget {
    Q_OBJECT
public:
    static constexpr double minimumOpacity = 0.16;
    static constexpr double maximumOpacity = 1.0;

    static inline const QString noCompositorNote = QStringLiteral("No compositor is running: notes stay opaque.");

    StickyTransparencyView(double opacity, bool compositing, QWidget* parent = nullptr);

    void setOpacity(double opacity);
    double opacity() const;
    QSlider* slider() const { return m_slider; }
    QString percentText() const;

    // "63%" for 0.625: the opacity in whole percent, halves away from zero.
    static QString percentText(double opacity);

signals:
    void opacityChanged(double opacity);

private:
    QLabel* m_percent;
    QSlider* m_slider;
};

} // namespace norvelle
