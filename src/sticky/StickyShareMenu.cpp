#include "sticky/StickyShareMenu.h"

#include "ui/MenuEntry.h"

namespace norvelle {

StickyShareMenu::StickyShareMenu(Actions actions, QWidget* parent)
    : QMenu(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    addAction(QStringLiteral("Share Note Text"), this, actions.shareText);
    addAction(QStringLiteral("Share RTF Document"), this, actions.shareRichText);
    addAction(QStringLiteral("Share Sticky Card"), this, actions.shareCard);
    addAction(QStringLiteral("Copy Collaborative Link"), this, actions.copyCollaborativeLink);
}

QAction* StickyShareMenu::action(const QString& text) const
{
    return menuEntry(*this, text);
}

} // namespace norvelle
