#pragma once

#include <QAbstractButton>

namespace norvelle {

// A round paper colour to click: 28 points across, a hairline edge, and when selected a ring
// and a tick that stand out against the colour. Its name is its tooltip.
class ColorSwatch : public QAbstractButton {
    Q_OBJECT
public:
    ColorSwatch(const QString& hex, const QString& name, bool isSelected, QWidget* parent = nullptr);

    QString hex() const { return m_hex; }
    bool isSelected() const { return m_selected; }
    QSize sizeHint() const override { return { 44, 36 }; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_hex;
    bool m_selected;
};

} // namespace norvelle
