#pragma once

#include "ui/SchemeColors.h"

#include <QAbstractButton>

namespace norvelle {

// A borderless button: a symbol, a text or both, and an optional mark after them (a menu's
// chevron), with padding, an optional minimum height and an optional filled shape behind, which
// covers that height and may carry a hairline border.
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
        qreal radius = 0; // negative: capsule
        SchemeColorRole symbolColor {}; // empty: `color`
        int symbolSpacing = 5;
        QString trailingSymbol {};
        int trailingSymbolSize = 0;
        SchemeColorRole trailingColor {}; // empty: `color`
        int trailingSpacing = 4;
        SchemeColorRole border {}; // empty: none; else a 0.5 line around the fill
        // Qt::AlignLeft keeps the content at the left of a button stretched wider than it.
        Qt::Alignment alignment = Qt::AlignHCenter;
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
