#pragma once

#include <QPainterPath>
#include <QWidget>

namespace norvelle {

// The ruling of a note's paper: "blank" (nothing), "dot" (a staggered field of dots), "grid"
// (squares) and anything else ruled lines, each with a margin. The top 36 points stay free for
// the header. The widget draws it over its whole size, inside an optional clip path, and never
// takes the mouse.
class PaperTextureView : public QWidget {
    Q_OBJECT
public:
    explicit PaperTextureView(QWidget* parent = nullptr);

    void setTexture(const QString& name, bool isDark);
    void setTextureOpacity(double opacity);
    void setClipPath(const QPainterPath& path);

    // Draws texture `name` on a canvas of `size` with its origin at the painter's origin. Lines
    // are put on whole device pixels of the painter's device, so they stay crisp at any scale.
    static void draw(QPainter& painter, QSizeF size, const QString& name, bool isDark);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_name = QStringLiteral("lined");
    bool m_isDark = false;
    double m_opacity = 1.0;
    QPainterPath m_clip;
};

} // namespace norvelle
