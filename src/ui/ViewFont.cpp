#include "ui/ViewFont.h"

#include <QGuiApplication>

namespace norvelle {

QFont viewFont(qreal size, QFont::Weight weight)
{
    QFont font = QGuiApplication::font();
    font.setPixelSize(qRound(size));
    font.setWeight(weight);
    return font;
}

} // namespace norvelle
