#pragma once

#include "ui/SchemeColors.h"

#include <QWidget>

namespace norvelle {

// A short text on a small filled shape: the shortcut and count badges.
class BadgeLabel : public QWidget {
public:
    BadgeLabel(const QFont& font, SchemeColorRole textColor, SchemeColorRole fill, QSize padding, qreal radius,
        QWidget* parent = nullptr);

    void setText(const QString& text);
    QString text() const { return m_text; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_text;
    SchemeColorRole m_textColor;
    SchemeColorRole m_fill;
    QSize m_padding;
    qreal m_radius;
};

} // namespace norvelle
