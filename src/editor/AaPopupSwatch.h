#pragma once

#include <QAbstractButton>

namespace norvelle {

// A round colour swatch of the format popup, with an optional ring drawn inside its edge.
class AaPopupSwatch : public QAbstractButton {
public:
    AaPopupSwatch(const QString& hex, int diameter, QSize area, QWidget* parent = nullptr);

    QString hex() const { return m_hex; }
    void setHex(const QString& hex);
    void setRing(const QColor& color, qreal width);
    QColor ringColor() const { return m_ringColor; }

    QSize sizeHint() const override { return m_area; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_hex;
    int m_diameter;
    QSize m_area;
    QColor m_ringColor = Qt::transparent;
    qreal m_ringWidth = 0;
};

} // namespace norvelle
