#pragma once

#include <QAbstractButton>

namespace norvelle {

// An on/off switch: a pill with a round knob, the accent colour while on; grey and faded while
// disabled, on or off. Space toggles it when it has the focus.
class ToggleSwitch : public QAbstractButton {
    Q_OBJECT
public:
    explicit ToggleSwitch(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace norvelle
