#pragma once

#include "clipboard/ClipColors.h"

#include <QWidget>

namespace norvelle {

// A short text on a small filled shape: the shortcut and count badges.
class ClipBadge : public QWidget {
public:
    ClipBadge(const QFont& font, ClipColorRole textColor, ClipColorRole fill, QSize padding, qreal radius,
              QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return m_text; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    ClipColorRole m_textColor;
    ClipColorRole m_fill;
    QSize m_padding;
    qreal m_radius;
};

} // namespace norvelle
