#pragma once

#include "clipboard/ClipColors.h"

#include <QWidget>

namespace norvelle {

// A symbol in a colour of the scheme, centred in its box, optionally on a filled circle.
class ClipSymbolView : public QWidget {
public:
    ClipSymbolView(const QString& symbol, int symbolSize, ClipColorRole color, QWidget* parent = nullptr);

    // A circle of `diameter` filled with `fill` behind the symbol.
    void setCircle(int diameter, ClipColorRole fill);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    int m_symbolSize;
    ClipColorRole m_color;
    int m_diameter = 0;
    ClipColorRole m_circleFill;
};

} // namespace norvelle
