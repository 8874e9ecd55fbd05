#pragma once

#include <QMenu>

#include <functional>

namespace norvelle {

// The menu of a sticky window's share button: "Share Note Text", "Share RTF Document",
// "Share Sticky Card" and "Copy Collaborative Link". Without a connected account the link
// entry is disabled and says so.
class StickyShareMenu : public QMenu {
    Q_OBJECT
public:
    struct Actions {
        std::function<void()> shareText;
        std::function<void()> shareRichText;
        std::function<void()> shareCard;
        std::function<void()> copyCollaborativeLink;
    };

    static inline const QString noAccountLinkTitle = QStringLiteral("Copy Collaborative Link — no account connected");

    StickyShareMenu(bool accountConnected, Actions actions, QWidget* parent = nullptr);

    QAction* action(const QString& text) const;
};

} // namespace norvelle
