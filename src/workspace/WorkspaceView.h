#pragma once

#include "workspace/MainSection.h"
#include "workspace/NewFolderSheet.h"
#include "workspace/WorkspaceNoteIndex.h"
#include "workspace/WorkspaceNoteLists.h"
#include "workspace/WorkspaceSearch.h"
#include "workspace/WorkspaceSortMode.h"

#include <QPointer>
#include <QSet>
#include <QWidget>

#include <functional>
#include <optional>

class QShortcut;
class QStackedWidget;

namespace norvelle {

class ClipboardHistoryPane;
class LaunchAtLoginBanner;
class ObjectContext;
class WorkspaceDetailColumn;
class WorkspaceSidebar;
class WorkspaceFoldersStore;

// The root of the workspace window. It owns the whole state of the workspace (section, folder,
// search, sort, grid or list, bulk selection, pending confirmations and sheets, the counters
// that refresh the sidebar), works out the lists shown from one index of every note, and
// handles the keys, settings and notifications that reach the workspace as a whole. Its views
// read the state and change it through these members; stateChanged() tells them to redraw.
class WorkspaceView : public QWidget {
    Q_OBJECT
public:
    using NoteRefs = WorkspaceNoteIndex::NoteRefs;

    // Registers the program to start at login; returns the reason when it could not.
    using RegisterLoginItem = std::function<std::optional<QString>()>;

    // `loginItemEnabled` is asked once, for the launch-at-login banner.
    WorkspaceView(ObjectContext& context, WorkspaceFoldersStore& folderStore,
        const std::function<bool()>& loginItemEnabled, RegisterLoginItem registerLoginItem,
        QWidget* parent = nullptr);
    ~WorkspaceView() override;

    static bool initialShowLaunchAtLoginBanner(bool loginItemEnabled);

    WorkspaceNoteIndex& index() { return m_index; }
    WorkspaceFoldersStore& folderStore() const { return m_folderStore; }
    WorkspaceDetailColumn* detailColumn() const { return m_detailColumn; }
    WorkspaceSidebar* sidebar() const { return m_sidebar; }
    LaunchAtLoginBanner* banner() const { return m_banner; }
    ClipboardHistoryPane* clipboardPane() const { return m_clipboardPane; }
    NewFolderSheet* newFolderSheet() const { return m_newFolderSheet; }
    // The clipboard history while it is shown, else the notes.
    QWidget* currentDetail() const;

    // The state.
    MainSection selection() const { return m_list.selection; }
    bool showClipboardHistory() const { return m_showClipboardHistory; }
    bool showLaunchAtLoginBanner() const { return m_showLaunchAtLoginBanner; }
    QString selectedFolderSlug() const { return m_list.selectedFolderSlug; }
    QString searchQuery() const { return m_list.searchQuery; }
    bool viewModeGrid() const { return m_viewModeGrid; }
    bool confirmEmptyTrash() const { return m_confirmEmptyTrash; }
    bool isSelectingNotes() const { return m_isSelectingNotes; }
    const QSet<QString>& bulkSelectedIDs() const { return m_bulkSelectedIDs; }
    bool showNewFolderSheet() const { return m_showNewFolderSheet; }
    QString newFolderName() const { return m_newFolderName; }
    bool confirmBulkPermanentDelete() const { return m_confirmBulkPermanentDelete; }
    WorkspaceSortMode sortMode() const { return m_list.sortMode; }
    QString appearanceRaw() const;
    int profileAvatarRevision() const { return m_profileAvatarRevision; }
    int clipboardSidebarTick() const { return m_clipboardSidebarTick; }

    // Changing the section leaves bulk mode; changing the folder stores it as the folder new
    // notes are filed in.
    void setSelection(MainSection selection);
    void setShowClipboardHistory(bool show);
    void setShowLaunchAtLoginBanner(bool show);
    void setSelectedFolderSlug(const QString& slug);
    void setSearchQuery(const QString& query);
    void setViewModeGrid(bool grid);
    void setConfirmEmptyTrash(bool confirm);
    void setSelectingNotes(bool selecting);
    void setBulkSelectedIDs(const QSet<QString>& ids);
    void setShowNewFolderSheet(bool show);
    void setNewFolderName(const QString& name);
    void setConfirmBulkPermanentDelete(bool confirm);
    void setSortMode(WorkspaceSortMode mode);
    // Selection mode off and nothing selected.
    void exitSelectionMode();
    // The note is scrolled into sight once the list shows it (as a note just imported will be
    // on a later turn); forgotten when the section or folder changes first.
    void revealNote(const ObjectID& id);
    std::optional<ObjectID> noteToReveal() const { return m_noteToReveal; }
    void forgetNoteToReveal() { m_noteToReveal.reset(); }

    // The lists, from the index and the state.
    NoteRefs liveNotes() const;
    NoteRefs trashNotes() const;
    int trashCount() const;
    // What the detail column shows; valid until the next stateChanged.
    const NoteRefs& workspaceNoteList() const { return m_workspaceNoteList; }
    NoteRefs pinnedStripNotes() const;
    NoteRefs selectedNotes() const;
    bool isNoteSelected(const WorkspaceNoteEntry& note) const;
    void toggleNoteSelection(const WorkspaceNoteEntry& note);

    // Backspace or Delete in selection mode: the selected notes go to the Trash, or in the
    // Trash the permanent deletion is asked for. Returns whether the key was used.
    bool handleDeleteKey();
    void trashSelectedNotes();
    // Alt+A: selection mode on with every listed note selected.
    void selectAllShortcut();

signals:
    // Any of the state or the notes changed.
    void stateChanged();

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void buildContent();
    void showPanes();
    void rebuildList();
    void changed();
    // Whether Backspace or Delete acts on the selected notes now.
    bool deleteKeyApplies() const;
    void updateDeleteShortcuts();

    WorkspaceFoldersStore& m_folderStore;
    WorkspaceNoteIndex m_index;
    WorkspaceSearch m_search;
    WorkspaceListState m_list;
    NoteRefs m_workspaceNoteList;
    bool m_showClipboardHistory = false;
    bool m_showLaunchAtLoginBanner = false;
    bool m_viewModeGrid = true;
    bool m_confirmEmptyTrash = false;
    bool m_isSelectingNotes = false;
    QSet<QString> m_bulkSelectedIDs;
    bool m_showNewFolderSheet = false;
    QString m_newFolderName;
    bool m_confirmBulkPermanentDelete = false;
    std::optional<ObjectID> m_noteToReveal;
    int m_profileAvatarRevision = 0;
    int m_clipboardSidebarTick = 0;
    QList<QShortcut*> m_deleteShortcuts;
    RegisterLoginItem m_registerLoginItem;
    WorkspaceSidebar* m_sidebar = nullptr;
    QStackedWidget* m_detail = nullptr;
    WorkspaceDetailColumn* m_detailColumn = nullptr;
    LaunchAtLoginBanner* m_banner = nullptr;
    ClipboardHistoryPane* m_clipboardPane = nullptr;
    QPointer<NewFolderSheet> m_newFolderSheet;
};

} // namespace norvelle
