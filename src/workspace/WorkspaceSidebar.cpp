#include "workspace/WorkspaceSidebar.h"

#include "clipboard/ClipboardMonitor.h"
#include "core/AppDelegating.h"
#include "ui/PlainButton.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"
#include "workspace/SidebarRow.h"
#include "workspace/WorkspaceFoldersStore.h"
#include "workspace/WorkspaceView.h"

#include <QCoreApplication>
#include <QHBoxLayout>
#include <QPainter>
#include <QScrollArea>
#include <QTimer>
#include <QVBoxLayout>

namespace norvelle {

namespace {

QString sectionSymbol(MainSection section)
{
    switch (section) {
    case MainSection::all:
        return QStringLiteral("square.grid.2x2");
    case MainSection::pinned:
        return QStringLiteral("star");
    case MainSection::recent:
        return QStringLiteral("clock");
    case MainSection::archive:
        return QStringLiteral("archivebox");
    case MainSection::trash:
        return QStringLiteral("trash");
    }
    return QString();
}

TextLabel* heading(const QString& text, QWidget* parent)
{
    return new TextLabel(text, viewFont(10, QFont::DemiBold), &SchemeColors::secondaryText, parent);
}

QColor systemBlue(const SchemeColors&)
{
    return QColor(0x0A, 0x84, 0xFF);
}

} // namespace

WorkspaceSidebar::WorkspaceSidebar(WorkspaceView& workspace, QWidget* parent)
    : QWidget(parent)
    , m_workspace(workspace)
{
    setFixedWidth(columnWidth);
    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 10, 0, 8);
    column->setSpacing(8);
    // In a short window the sections and folders scroll above the footer rather than pile up.
    m_scroll = new QScrollArea(this);
    m_scroll->setFrameShape(QFrame::NoFrame);
    m_scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_scroll->setWidgetResizable(true);
    m_scroll->viewport()->setAutoFillBackground(false);
    auto* rows = new QWidget(m_scroll);
    m_scroll->setWidget(rows);
    rows->setAutoFillBackground(false);
    column->addWidget(m_scroll, 1);
    auto* layout = new QVBoxLayout(rows);
    layout->setContentsMargins(10, 0, 10, 0);
    layout->setSpacing(8);
    layout->addSpacing(10);
    layout->addWidget(heading(QStringLiteral("LIBRARY"), this));
    for (const MainSection section : mainSection::allCases) {
        auto* row = new SidebarRow(this);
        connect(row, &QAbstractButton::clicked, this, [this, section] {
            m_workspace.setSelection(section);
            m_workspace.setShowClipboardHistory(false);
        });
        m_sectionRows << row;
        layout->addWidget(row);
        if (section == MainSection::recent) {
            m_clipboardRow = new SidebarRow(this);
            m_clipboardRow->setToolTip(QStringLiteral("Open clipboard history"));
            connect(m_clipboardRow, &QAbstractButton::clicked, this, [this] { m_workspace.setShowClipboardHistory(true); });
            layout->addWidget(m_clipboardRow);
        }
    }
    layout->addSpacing(4);
    auto* foldersHeader = new QHBoxLayout;
    foldersHeader->setSpacing(6);
    foldersHeader->addWidget(heading(QStringLiteral("FOLDERS"), this));
    foldersHeader->addStretch(1);
    m_newFolder = new PlainButton({}, {.font = viewFont(13, QFont::Medium), .color = &SchemeColors::secondaryText, .symbol = QStringLiteral("folder.badge.plus"), .symbolSize = 13, .padding = QMargins(6, 0, 6, 0), .minimumHeight = 26},
        this);
    m_newFolder->setToolTip(QStringLiteral("New Folder"));
    connect(m_newFolder, &QAbstractButton::clicked, this, [this] { m_workspace.setShowNewFolderSheet(true); });
    foldersHeader->addWidget(m_newFolder);
    layout->addLayout(foldersHeader);
    m_folders = new QVBoxLayout;
    m_folders->setSpacing(8);
    layout->addLayout(m_folders);
    layout->addStretch(1);
    m_footerSlot = new QVBoxLayout;
    m_footerSlot->setContentsMargins(10, 0, 10, 0);
    column->addLayout(m_footerSlot);

    connect(&workspace, &WorkspaceView::stateChanged, this, &WorkspaceSidebar::refresh);
    refresh();
}

void WorkspaceSidebar::setFooter(QWidget* footer)
{
    m_footerSlot->addWidget(footer);
}

std::optional<QString> WorkspaceSidebar::sectionCount(MainSection section) const
{
    const WorkspaceView::NoteRefs live = m_workspace.liveNotes();
    qsizetype count = 0;
    switch (section) {
    case MainSection::all:
        count = qsizetype(live.size());
        break;
    case MainSection::pinned:
        count = std::count_if(live.begin(), live.end(), [](const WorkspaceNoteEntry* note) { return note->isPinned; });
        break;
    case MainSection::archive:
        count = std::count_if(live.begin(), live.end(), [](const WorkspaceNoteEntry* note) { return note->isArchived; });
        break;
    case MainSection::trash:
        count = m_workspace.trashCount();
        break;
    case MainSection::recent:
        return std::nullopt;
    }
    return count > 0 ? std::optional<QString>(QString::number(count)) : std::nullopt;
}

int WorkspaceSidebar::clipboardHistoryCount() const
{
    AppDelegating* app = AppDelegating::current();
    return app ? int(app->clipboardMonitor().items().size()) : 0;
}

int WorkspaceSidebar::folderNoteCount(const QString& slug) const
{
    const WorkspaceView::NoteRefs live = m_workspace.liveNotes();
    if (slug == u"all") {
        return int(live.size());
    }
    const QString folder = slug.toLower();
    return int(std::count_if(live.begin(), live.end(), [&](const WorkspaceNoteEntry* note) { return note->folderKey == folder; }));
}

SidebarRow* WorkspaceSidebar::sectionRow(MainSection section) const
{
    return m_sectionRows.value(int(section));
}

SidebarRow* WorkspaceSidebar::folderRow(const QString& slug) const
{
    for (SidebarRow* row : m_folderRows) {
        if (row->property("slug").toString() == slug) {
            return row;
        }
    }
    return nullptr;
}

void WorkspaceSidebar::refresh()
{
    for (const MainSection section : mainSection::allCases) {
        sectionRow(section)->setLook({.symbol = sectionSymbol(section), .title = mainSection::rawValue(section), .badge = sectionCount(section).value_or(QString()), .selected = m_workspace.selection() == section && !m_workspace.showClipboardHistory(), .tint = {}, .radius = 9});
    }
    const int clips = clipboardHistoryCount();
    m_clipboardRow->setLook({.symbol = QStringLiteral("list.clipboard"), .title = QStringLiteral("Clipboard history"), .badge = clips > 0 ? QString::number(clips) : QString(), .tint = {}, .radius = 9});
    rebuildFolders();
}

void WorkspaceSidebar::rebuildFolders()
{
    const QStringList slugs = m_workspace.folderStore().allFolderSlugs();
    while (m_folderRows.size() > slugs.size()) {
        delete m_folderRows.takeLast();
    }
    while (m_folderRows.size() < slugs.size()) {
        auto* row = new SidebarRow(this);
        connect(row, &QAbstractButton::clicked, this, [this, row] { m_workspace.setSelectedFolderSlug(row->property("slug").toString()); });
        m_folders->addWidget(row);
        m_folderRows << row;
    }
    for (qsizetype i = 0; i < slugs.size(); ++i) {
        const QString& slug = slugs[i];
        const bool selected = slug == m_workspace.selectedFolderSlug();
        m_folderRows[i]->setProperty("slug", slug);
        m_folderRows[i]->setLook({.symbol = slug == u"all" ? QStringLiteral("tray.2.fill") : QStringLiteral("folder.fill"),
            .title = m_workspace.folderStore().displayName(slug),
            .badge = selected ? QString::number(folderNoteCount(slug)) : QString(),
            .selected = selected,
            .plainBadge = true,
            .tint = systemBlue,
            .radius = 8});
    }
    // A folder just made is listed last, below the fold of a short window.
    if (m_selectedFolder != m_workspace.selectedFolderSlug()) {
        m_selectedFolder = m_workspace.selectedFolderSlug();
        QTimer::singleShot(0, this, &WorkspaceSidebar::revealSelectedFolder);
    }
}

void WorkspaceSidebar::revealSelectedFolder()
{
    if (SidebarRow* row = folderRow(m_selectedFolder)) {
        // The scroll range takes the new row in once the pending layouts are done.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        m_scroll->ensureWidgetVisible(row, 0, 8);
    }
}

void WorkspaceSidebar::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const bool dark = SchemeColors::isDarkScheme(palette());
    painter.fillRect(rect(), dark ? QColor::fromRgbF(0.09f, 0.09f, 0.10f) : palette().color(QPalette::Base));
    painter.fillRect(QRectF(width() - 0.5, 0, 0.5, height()), dark ? QColor(255, 255, 255, 15) : QColor(0, 0, 0, 26));
}

} // namespace norvelle
