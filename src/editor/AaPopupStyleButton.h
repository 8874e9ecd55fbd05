#pragma once

#include <QAbstractButton>

namespace norvelle {

// A row of the compact style list: the style's name, and a blue checkmark on the marked one.
class AaPopupStyleButton : public QAbstractButton {
public:
    AaPopupStyleButton(const QString& style, bool dark, QWidget* parent = nullptr);

    void setMarked(bool marked);
    QSize sizeHint() const override { return {212, 34}; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool m_dark;
    bool m_marked = false;
};

} // namespace norvelle
