#pragma once

#include <QAbstractButton>

namespace norvelle {

// "Custom text color" / "Custom highlight color": a rainbow ring and the title on a faint fill.
class AaPopupColorButton : public QAbstractButton {
public:
    AaPopupColorButton(const QString& title, bool dark, QWidget* parent = nullptr);

    QSize sizeHint() const override { return {176, 24}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_dark;
};

} // namespace norvelle
