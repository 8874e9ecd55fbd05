#pragma once

#include <QMenu>

#include <functional>

namespace norvelle {

// The menu of a sticky window's "more" button: "Move to Folder" and "Open in Main App" (shown,
// never enabled here), "Duplicate Note" (Ctrl+D), "Archive" or "Unarchive", and a red
// "Move to Trash".
class StickyMoreMenu : public QMenu {
    Q_OBJECT
public:
    struct Actions {
        std::function<void()> duplicate;
        std::function<void()> toggleArchive;
        std::function<void()> moveToTrash;
    };

    StickyMoreMenu(bool isArchived, Actions actions, QWidget* parent = nullptr);

    QAction* action(const QString& text) const;
};

} // namespace norvelle
