#pragma once

#include <QWidget>

namespace norvelle {

// The application's icon at `size` × `size`, in a rounded square (radius 22 % of the size)
// with a soft shadow below. Without an icon set on the application, the brand mark is drawn:
// a note on the brand gradient.
class AppIconView : public QWidget {
    Q_OBJECT
public:
    explicit AppIconView(int size, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintBrandMark(QPainter& painter, const QRectF& square) const;

    int m_size;
};

} // namespace norvelle
