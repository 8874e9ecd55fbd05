#pragma once

#include "ui/SchemeColors.h"

#include <QWidget>

namespace norvelle {

// A symbol in a colour of the scheme, centred in its box, optionally on a filled circle.
class SymbolView : public QWidget {
public:
    SymbolView(const QString& symbol, int symbolSize, SchemeColorRole color, QWidget* parent = nullptr);

    // A circle of `diameter` filled with `fill` behind the symbol.
    void setCircle(int diameter, SchemeColorRole fill);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_symbol;
    int m_symbolSize;
    SchemeColorRole m_color;
    int m_diameter = 0;
    SchemeColorRole m_circleFill;
};

} // namespace norvelle
