#include "workspace/WorkspaceView.h"

#include "account/ProfileAvatarStore.h"
#include "clipboard/ClipboardHistoryPane.h"
#include "clipboard/ClipboardMonitor.h"
#include "core/AppDelegating.h"
#include "platform/NotificationCenter.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "store/NoteTrashOperations.h"
#include "store/StickyNote.h"
#include "ui/NorvelleAppearancePreference.h"
#include "ui/SchemeColors.h"
#include "ui/SchemePalette.h"
#include "workspace/LaunchAtLoginBanner.h"
#include "workspace/NewFolderSheet.h"
#include "workspace/WorkspaceBulkActions.h"
#include "workspace/WorkspaceDetailColumn.h"
#include "workspace/WorkspaceFoldersStore.h"
#include "workspace/WorkspaceProfileFooter.h"
#include "workspace/WorkspaceSidebar.h"
#include "workspace/WorkspaceToolbar.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QShortcut>
#include <QStackedWidget>

namespace norvelle {

WorkspaceView::WorkspaceView(ObjectContext& context, WorkspaceFoldersStore& folderStore,
    const std::function<bool()>& loginItemEnabled, RegisterLoginItem registerLoginItem,
    QWidget* parent)
    : QWidget(parent)
    , m_folderStore(folderStore)
    , m_index(context)
    , m_showLaunchAtLoginBanner(initialShowLaunchAtLoginBanner(loginItemEnabled()))
    , m_registerLoginItem(std::move(registerLoginItem))
{
    setAutoFillBackground(false);
    rebuildList();
    connect(&m_index, &WorkspaceNoteIndex::notesChanged, this, [this] {
        m_search.forget();
        rebuildList();
        changed();
    });
    connect(&m_folderStore, &WorkspaceFoldersStore::userFoldersChanged, this, &WorkspaceView::changed);

    UserDefaults& defaults = UserDefaults::standard();
    defaults.set(storedSettings::preferredNewNoteFolderSlug.key, m_list.selectedFolderSlug);
    connect(&defaults, &UserDefaults::changed, this, [this](const QString& key) {
        if (key == storedSettings::profileAvatarPath.key) {
            changed();
        }
    });
    NotificationCenter& center = NotificationCenter::defaultCenter();
    center.addObserver(ProfileAvatarStore::didChangeNotification, this, [this](const Notification&) {
        ++m_profileAvatarRevision;
        changed();
    });
    center.addObserver(ClipboardMonitor::historyChangedNotification, this, [this](const Notification&) {
        ++m_clipboardSidebarTick;
        changed();
    });

    for (const QKeySequence& key : {QKeySequence(Qt::Key_Backspace), QKeySequence(Qt::Key_Delete)}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this, &WorkspaceView::handleDeleteKey);
        m_deleteShortcuts << shortcut;
    }
    updateDeleteShortcuts();
    auto* selectAll = new QShortcut(QKeySequence(Qt::ALT | Qt::Key_A), this);
    connect(selectAll, &QShortcut::activated, this, &WorkspaceView::selectAllShortcut);

    buildContent();
    followAppearancePreference(*this);
}

WorkspaceView::~WorkspaceView() = default;

void WorkspaceView::buildContent()
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    m_sidebar = new WorkspaceSidebar(*this, this);
    m_sidebar->setFooter(new WorkspaceProfileFooter(*this, m_sidebar));
    layout->addWidget(m_sidebar);
    m_detail = new QStackedWidget(this);
    m_detailColumn = new WorkspaceDetailColumn(*this, m_detail);
    m_detailColumn->setToolbar(new WorkspaceToolbar(*this, m_detailColumn));
    if (m_showLaunchAtLoginBanner) {
        m_banner = new LaunchAtLoginBanner(*this, m_registerLoginItem, m_detailColumn);
        m_detailColumn->setBanner(m_banner);
    }
    m_detail->addWidget(m_detailColumn);
    layout->addWidget(m_detail, 1);
    connect(this, &WorkspaceView::stateChanged, this, &WorkspaceView::showPanes);
}

void WorkspaceView::showPanes()
{
    if (m_banner) {
        m_banner->setVisible(m_showLaunchAtLoginBanner);
    }
    AppDelegating* app = AppDelegating::current();
    if (m_showClipboardHistory && app) {
        if (!m_clipboardPane) {
            ClipboardMonitor& monitor = app->clipboardMonitor();
            m_clipboardPane = new ClipboardHistoryPane(
                monitor, [&monitor](const ClipEntry& entry) {
                // A clip of an image alone is copied as it is, never as an empty text.
                if (entry.text.isEmpty() && entry.imageData) {
                    monitor.copyToPasteboard(entry, 0.22);
                } else {
                    monitor.copyText(entry.text, 0.22);
                } }, [](const QString& text) {
                if (AppDelegating* current = AppDelegating::current()) {
                    current->createNewSticky(text);
                } }, m_detail);
            m_detail->addWidget(m_clipboardPane);
        }
        m_detail->setCurrentWidget(m_clipboardPane);
    } else {
        m_detail->setCurrentWidget(m_detailColumn);
    }
    if (m_showNewFolderSheet && !m_newFolderSheet) {
        m_newFolderSheet = new NewFolderSheet(*this, this);
        m_newFolderSheet->setAttribute(Qt::WA_DeleteOnClose);
        m_newFolderSheet->open();
    }
}

bool WorkspaceView::initialShowLaunchAtLoginBanner(bool loginItemEnabled)
{
    return !loginItemEnabled && !storedSettings::launchAtLoginBannerDismissed.value();
}

QString WorkspaceView::appearanceRaw() const
{
    return storedSettings::appearance.value();
}

QWidget* WorkspaceView::currentDetail() const
{
    return m_detail->currentWidget();
}

void WorkspaceView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), SchemeColors(palette()).windowBackground());
}

void WorkspaceView::changed()
{
    updateDeleteShortcuts();
    emit stateChanged();
}

void WorkspaceView::rebuildList()
{
    if (!m_list.searchQuery.trimmed().isEmpty()) {
        m_index.loadAllWords();
    }
    m_workspaceNoteList = WorkspaceNoteLists::workspaceNoteList(m_index.notes(), m_list, m_search);
}

void WorkspaceView::updateDeleteShortcuts()
{
    // Only a key that deletes something is taken; otherwise it goes on to the focused view.
    const bool armed = deleteKeyApplies();
    for (QShortcut* shortcut : std::as_const(m_deleteShortcuts)) {
        shortcut->setEnabled(armed);
    }
}

void WorkspaceView::setSelection(MainSection selection)
{
    if (selection == m_list.selection) {
        return;
    }
    m_list.selection = selection;
    m_noteToReveal.reset();
    m_isSelectingNotes = false;
    m_bulkSelectedIDs.clear();
    rebuildList();
    changed();
}

void WorkspaceView::setShowClipboardHistory(bool show)
{
    if (show != m_showClipboardHistory) {
        m_showClipboardHistory = show;
        changed();
    }
}

void WorkspaceView::setShowLaunchAtLoginBanner(bool show)
{
    if (show != m_showLaunchAtLoginBanner) {
        m_showLaunchAtLoginBanner = show;
        changed();
    }
}

void WorkspaceView::setSelectedFolderSlug(const QString& slug)
{
    if (slug == m_list.selectedFolderSlug) {
        return;
    }
    m_list.selectedFolderSlug = slug;
    m_noteToReveal.reset();
    UserDefaults::standard().set(storedSettings::preferredNewNoteFolderSlug.key, slug);
    rebuildList();
    changed();
}

void WorkspaceView::setSearchQuery(const QString& query)
{
    if (query == m_list.searchQuery) {
        return;
    }
    m_list.searchQuery = query;
    rebuildList();
    changed();
}

void WorkspaceView::setViewModeGrid(bool grid)
{
    if (grid != m_viewModeGrid) {
        m_viewModeGrid = grid;
        changed();
    }
}

void WorkspaceView::setConfirmEmptyTrash(bool confirm)
{
    if (confirm != m_confirmEmptyTrash) {
        m_confirmEmptyTrash = confirm;
        changed();
    }
}

void WorkspaceView::setSelectingNotes(bool selecting)
{
    if (selecting != m_isSelectingNotes) {
        m_isSelectingNotes = selecting;
        changed();
    }
}

void WorkspaceView::setBulkSelectedIDs(const QSet<QString>& ids)
{
    if (ids != m_bulkSelectedIDs) {
        m_bulkSelectedIDs = ids;
        changed();
    }
}

void WorkspaceView::setShowNewFolderSheet(bool show)
{
    if (show != m_showNewFolderSheet) {
        m_showNewFolderSheet = show;
        changed();
    }
}

void WorkspaceView::setNewFolderName(const QString& name)
{
    if (name != m_newFolderName) {
        m_newFolderName = name;
        changed();
    }
}

void WorkspaceView::setConfirmBulkPermanentDelete(bool confirm)
{
    if (confirm != m_confirmBulkPermanentDelete) {
        m_confirmBulkPermanentDelete = confirm;
        changed();
    }
}

void WorkspaceView::setSortMode(WorkspaceSortMode mode)
{
    if (mode == m_list.sortMode) {
        return;
    }
    m_list.sortMode = mode;
    rebuildList();
    changed();
}

void WorkspaceView::exitSelectionMode()
{
    if (m_isSelectingNotes || !m_bulkSelectedIDs.isEmpty()) {
        m_isSelectingNotes = false;
        m_bulkSelectedIDs.clear();
        changed();
    }
}

void WorkspaceView::revealNote(const ObjectID& id)
{
    m_noteToReveal = id;
    changed();
}

WorkspaceView::NoteRefs WorkspaceView::liveNotes() const
{
    return WorkspaceNoteLists::liveNotes(m_index.notes());
}

WorkspaceView::NoteRefs WorkspaceView::trashNotes() const
{
    return WorkspaceNoteLists::trashNotes(m_index.notes());
}

int WorkspaceView::trashCount() const
{
    return WorkspaceNoteLists::trashCount(m_index.notes());
}

WorkspaceView::NoteRefs WorkspaceView::pinnedStripNotes() const
{
    return WorkspaceNoteLists::pinnedStripNotes(m_workspaceNoteList, m_list.selection);
}

WorkspaceView::NoteRefs WorkspaceView::selectedNotes() const
{
    return WorkspaceNoteLists::selectedNotes(m_workspaceNoteList, m_bulkSelectedIDs);
}

bool WorkspaceView::isNoteSelected(const WorkspaceNoteEntry& note) const
{
    return m_bulkSelectedIDs.contains(note.identity());
}

void WorkspaceView::toggleNoteSelection(const WorkspaceNoteEntry& note)
{
    if (!m_bulkSelectedIDs.remove(note.identity())) {
        m_bulkSelectedIDs.insert(note.identity());
    }
    changed();
}

bool WorkspaceView::deleteKeyApplies() const
{
    // Over the clipboard history the selected notes are out of sight: the key is not theirs.
    return m_isSelectingNotes && !m_bulkSelectedIDs.isEmpty() && !m_showClipboardHistory;
}

bool WorkspaceView::handleDeleteKey()
{
    if (!deleteKeyApplies()) {
        return false;
    }
    if (m_list.selection == MainSection::trash) {
        setConfirmBulkPermanentDelete(true);
    } else {
        trashSelectedNotes();
    }
    return true;
}

void WorkspaceView::trashSelectedNotes()
{
    WorkspaceBulkActions::runBulkOperation(*this, NoteTrashOperations::moveNotesToTrash);
}

void WorkspaceView::selectAllShortcut()
{
    if (m_workspaceNoteList.empty()) {
        return;
    }
    QSet<QString> all;
    all.reserve(qsizetype(m_workspaceNoteList.size()));
    for (const WorkspaceNoteEntry* note : m_workspaceNoteList) {
        all.insert(note->identity());
    }
    m_isSelectingNotes = true;
    m_bulkSelectedIDs = std::move(all);
    changed();
}

} // namespace norvelle
