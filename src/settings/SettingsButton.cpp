#include "settings/SettingsButton.h"

#include "ui/SchemeColors.h"

#include <QPushButton>

namespace norvelle {

QPushButton* makeSettingsButton(const QString& title, int padding, int minimumHeight, bool destructive)
{
    auto* button = new QPushButton(title);
    button->setMinimumHeight(minimumHeight);
    QString style = QStringLiteral("padding-left: %1px; padding-right: %1px;").arg(padding);
    if (destructive) {
        style += QStringLiteral(" color: %1;").arg(SchemeColors(button->palette()).destructive().name());
    }
    button->setStyleSheet(QStringLiteral("QPushButton { %1 }").arg(style));
    return button;
}

} // namespace norvelle
