#include "sticky/ShareAnchorButton.h"

namespace norvelle {

ShareAnchorButton::ShareAnchorButton(QWidget* parent)
    : HeaderSymbolButton(QStringLiteral("square.and.arrow.up"), parent)
{
    setAccessibleName(QStringLiteral("Share"));
    setShareEnabled(true);
    connect(this, &QAbstractButton::clicked, this, [this] { emit optionsTapped(this); });
}

void ShareAnchorButton::setShareEnabled(bool enabled)
{
    setEnabled(enabled);
    setToolTip(enabled ? QStringLiteral("Share options") : QStringLiteral("Add text to share"));
    update();
}

} // namespace norvelle
