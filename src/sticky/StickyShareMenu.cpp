#include "sticky/StickyShareMenu.h"

#include "ui/MenuEntry.h"

namespace norvelle {

StickyShareMenu::StickyShareMenu(bool accountConnected, Actions actions, QWidget* parent)
    : QMenu(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    addAction(QStringLiteral("Share Note Text"), this, actions.shareText);
    addAction(QStringLiteral("Share RTF Document"), this, actions.shareRichText);
    addAction(QStringLiteral("Share Sticky Card"), this, actions.shareCard);
    if (accountConnected) {
        addAction(QStringLiteral("Copy Collaborative Link"), this, actions.copyCollaborativeLink);
    } else {
        addAction(noAccountLinkTitle)->setEnabled(false);
    }
}

QAction* StickyShareMenu::action(const QString& text) const
{
    return menuEntry(*this, text);
}

} // namespace norvelle
