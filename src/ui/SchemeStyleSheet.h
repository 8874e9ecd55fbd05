#pragma once

#include <QColor>
#include <QString>

#include <functional>

class QPalette;
class QWidget;

namespace norvelle {

// Gives `widget` the style sheet `make` writes for its parent's palette, now and again whenever
// that palette changes (a switch between light and dark), so the colours a sheet names follow
// the window. Under a sheet, widgets draw with the desktop's palette: the sheet names every
// colour that must follow the scheme, and `then` gives parts that paint themselves the palette
// (after the sheet, whose polish would undo it).
void setSchemeStyleSheet(QWidget& widget, std::function<QString(const QPalette&)> make,
    std::function<void(const QPalette&)> then = {});

// A colour as a style sheet writes it: "rgba(r, g, b, alpha)", the alpha multiplied by `opacity`.
QString styleSheetColor(const QColor& color, qreal opacity = 1.0);

} // namespace norvelle
