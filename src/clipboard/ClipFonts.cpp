#include "clipboard/ClipFonts.h"

#include <QGuiApplication>

namespace norvelle {

QFont clipFont(qreal size, QFont::Weight weight)
{
    QFont font = QGuiApplication::font();
    // Qt's logical resolution is 96 dots per inch on every platform we run on.
    font.setPointSizeF(size * 72.0 / 96.0);
    font.setWeight(weight);
    return font;
}

} // namespace norvelle
