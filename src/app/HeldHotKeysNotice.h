#pragma once

#include <QString>
#include <QStringList>

namespace norvelle::HeldHotKeysNotice {

inline const QString topic = QStringLiteral("hot keys");

// Tells the user which shortcuts do nothing because other programs hold their keys; each
// entry reads "Shift+Super+V (Clipboard history)".
void tell(const QStringList& shortcuts);

} // namespace norvelle::HeldHotKeysNotice
