#pragma once

#include <QApplication>
#include <QPointer>
#include <QStyle>

namespace norvelle {

// One instance of a style of our own for the whole program, owned by the application, for
// the widgets that use it (a widget does not own the style it is given).
template <class Style>
QStyle* sharedStyle()
{
    static QPointer<QStyle> style;
    if (!style) {
        style = new Style;
        style->setParent(qApp);
    }
    return style;
}

} // namespace norvelle
