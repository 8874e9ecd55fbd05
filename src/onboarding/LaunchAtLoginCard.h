#pragma once

#include <QAbstractButton>

namespace norvelle {

// The onboarding's launch-at-login choice: a card that a click turns on or off, showing a
// ticked circle and the brand outline while on. Choosing applies nothing by itself.
class LaunchAtLoginCard : public QAbstractButton {
    Q_OBJECT
public:
    explicit LaunchAtLoginCard(QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};

} // namespace norvelle
