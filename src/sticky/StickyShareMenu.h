#pragma once

#include <QMenu>

#include <functional>

namespace norvelle {

// The menu of a sticky window's share button: "Share Note Text", "Share RTF Document",
// "Share Sticky Card" and "Copy Collaborative Link".
class StickyShareMenu : public QMenu {
    Q_OBJECT
public:
    struct Actions {
        std::function<void()> shareText;
        std::function<void()> shareRichText;
        std::function<void()> shareCard;
        std::function<void()> copyCollaborativeLink;
    };

    StickyShareMenu(Actions actions, QWidget* parent = nullptr);

    QAction* action(const QString& text) const;
};

} // namespace norvelle
