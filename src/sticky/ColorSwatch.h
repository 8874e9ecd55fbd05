#pragma once

#include <QAbstractButton>
#include <QVariantAnimation>

namespace norvelle {

// A round paper colour to click: 28 points across, a hairline edge, and when selected a ring
// and a tick that stand out against the colour. Its name is its tooltip. Under the pointer it
// grows to 1.06 of its size, easing in and out over 0.12 s.
class ColorSwatch : public QAbstractButton {
    Q_OBJECT
public:
    ColorSwatch(const QString& hex, const QString& name, bool isSelected, QWidget* parent = nullptr);

    QString hex() const { return m_hex; }
    bool isSelected() const { return m_selected; }
    void setSelected(bool selected);
    QSize sizeHint() const override { return {44, 36}; }
    double scale() const { return m_scale; }

    static constexpr double hoverScale = 1.06;
    static constexpr int hoverMs = 120;

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;

private:
    QString m_hex;
    bool m_selected;
    double m_scale = 1.0;
    QVariantAnimation m_growth;
};

} // namespace norvelle
