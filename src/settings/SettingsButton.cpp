#include "settings/SettingsButton.h"

#include "ui/SchemeColors.h"

#include <QPushButton>

namespace norvelle {

QPushButton* makeSettingsButton(const QString& title, int padding, int minimumHeight, bool destructive)
{
    auto* button = new QPushButton(title);
    button->setMinimumHeight(minimumHeight);
    QString style = QStringLiteral("QPushButton { padding-left: %1px; padding-right: %1px; }").arg(padding);
    if (destructive) {
        style += QStringLiteral(" QPushButton:enabled { color: %1; }").arg(SchemeColors(button->palette()).destructive().name());
    }
    button->setStyleSheet(style);
    return button;
}

} // namespace norvelle
