#pragma once

#include <QImage>
#include <QWidget>

namespace norvelle {

// A profile picture clipped to a circle of `diameter` points, scaled to fit and centred.
class ProfileAvatarCircleView : public QWidget {
    Q_OBJECT
public:
    explicit ProfileAvatarCircleView(QWidget* parent = nullptr);

    void setImage(const QImage& image);
    QImage image() const { return m_image; }
    // A new diameter takes effect on the next layout.
    void setDiameter(double diameter);
    double diameter() const { return m_diameter; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_image;
    double m_diameter = 28.0;
};

} // namespace norvelle
