#include "ui/MessageBoxRoom.h"

#include <QGridLayout>
#include <QMessageBox>
#include <QSpacerItem>

namespace norvelle {

void giveMessageRoom(QMessageBox& box, int width)
{
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) {
        return;
    }
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
        grid->columnCount());
}

} // namespace norvelle
