#pragma once

#include "ui/SchemeColors.h"

#include <QAbstractButton>

namespace norvelle {

// A borderless button: a symbol, a text or both in one colour, with
// padding, an optional minimum height and an optional filled shape behind.
class PlainButton : public QAbstractButton {
public:
    struct Style {
        QFont font {};
        SchemeColorRole color {};
        QString symbol {};
        int symbolSize = 0;
        QMargins padding {};
        int minimumHeight = 0;
        SchemeColorRole fill {}; // empty: no shape
        qreal radius = 0;      // negative: capsule
    };

    PlainButton(const QString& text, Style style, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    Style m_style;
    bool m_hovered = false;
};

} // namespace norvelle
