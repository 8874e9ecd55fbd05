#include "support/ColorWells.h"

#include <QWidget>

namespace norvelle::test {

QWidget* colorWells(const QWidget* dialog)
{
    for (QWidget* child : dialog->findChildren<QWidget*>()) {
        if (QByteArray(child->metaObject()->className()).endsWith("QWellArray")) {
            return child;
        }
    }
    return nullptr;
}

} // namespace norvelle::test
