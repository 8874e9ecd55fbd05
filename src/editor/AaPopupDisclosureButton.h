#pragma once

#include <QAbstractButton>

namespace norvelle {

// "More options" with a chevron that turns over to "Less" while the popup is expanded.
class AaPopupDisclosureButton : public QAbstractButton {
public:
    explicit AaPopupDisclosureButton(bool dark, QWidget* parent = nullptr);

    void setExpanded(bool expanded);
    QSize sizeHint() const override { return {212, 28}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_dark;
    bool m_expanded = false;
};

} // namespace norvelle
