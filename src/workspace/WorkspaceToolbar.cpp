#include "workspace/WorkspaceToolbar.h"

#include "core/AppDelegating.h"
#include "sticky/NoteFileOperations.h"
#include "ui/PlainButton.h"
#include "ui/SearchField.h"
#include "ui/ViewFont.h"
#include "workspace/NoteTemplate.h"
#include "workspace/WorkspaceView.h"

#include <QGraphicsOpacityEffect>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QPushButton>

namespace norvelle {

namespace {

QColor fieldFill(const SchemeColors& colors)
{
    return colors.overlay(0.08, 0.06);
}

PlainButton* iconButton(const QString& symbol, int size, QWidget* parent)
{
    return new PlainButton({}, { .font = viewFont(13, QFont::DemiBold), .color = &SchemeColors::label, .symbol = symbol,
                                 .symbolSize = size, .padding = QMargins(10, 5, 10, 5), .minimumHeight = 34,
                                 .fill = fieldFill, .radius = 8 },
                           parent);
}

void createNote(const QString& text)
{
    if (AppDelegating* app = AppDelegating::current()) {
        app->createNewSticky(text);
    }
}

} // namespace

WorkspaceToolbar::WorkspaceToolbar(WorkspaceView& workspace, QWidget* parent)
    : QWidget(parent)
    , m_workspace(workspace)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    m_search = new SearchField(QStringLiteral("Search notes"), { 13, 13, 10, QMargins(10, 8, 10, 8) }, fieldFill, this);
    m_search->setMinimumWidth(160);
    m_search->setMaximumWidth(400);
    connect(m_search, &SearchField::textChanged, this, [this](const QString& text) { m_workspace.setSearchQuery(text); });
    layout->addWidget(m_search, 1);

    m_controls = new QWidget(this);
    auto* group = new QHBoxLayout(m_controls);
    group->setContentsMargins(0, 0, 0, 0);
    group->setSpacing(8);
    m_grid = iconButton(QStringLiteral("square.grid.2x2"), 13, this);
    m_list = iconButton(QStringLiteral("list.bullet"), 13, this);
    for (PlainButton* button : { m_grid, m_list }) {
        button->setToolTip(QStringLiteral("Grid or list"));
        button->setAccessibleName(QStringLiteral("View"));
    }
    connect(m_grid, &QAbstractButton::clicked, this, [this] { m_workspace.setViewModeGrid(true); });
    connect(m_list, &QAbstractButton::clicked, this, [this] { m_workspace.setViewModeGrid(false); });
    group->addWidget(m_grid);
    group->addWidget(m_list);
    m_select = new QPushButton(QStringLiteral("Select"), this);
    connect(m_select, &QPushButton::clicked, this, [this] { m_workspace.setSelectingNotes(true); });
    m_import = new QPushButton(QStringLiteral("Import"), this);
    connect(m_import, &QPushButton::clicked, this, [this] {
        NoteFileOperations::importNoteFromFile([workspace = QPointer<WorkspaceView>(&m_workspace)](const ObjectID& id) {
            if (workspace) {
                workspace->revealNote(id);
            }
        });
    });
    group->addWidget(m_select);
    group->addWidget(m_import);

    m_sort = iconButton(QStringLiteral("arrow.up.arrow.down.circle"), 14, this);
    m_sortMenu = new QMenu(this);
    connect(m_sort, &QAbstractButton::clicked, this, [this] {
        fillSortMenu();
        m_sortMenu->popup(m_sort->mapToGlobal(QPoint(0, m_sort->height())));
    });
    group->addWidget(m_sort);

    m_newNote = new PlainButton({}, { .font = viewFont(14, QFont::DemiBold), .color = [](const SchemeColors&) { return QColor(Qt::white); },
                                      .symbol = QStringLiteral("square.and.pencil"), .symbolSize = 16,
                                      .padding = QMargins(9, 8, 9, 8), .minimumHeight = 34,
                                      .fill = &SchemeColors::accent, .radius = 8 },
                                this);
    m_newNote->setToolTip(QStringLiteral("New note"));
    m_newNoteMenu = new QMenu(this);
    m_newNoteMenu->addAction(QStringLiteral("New Note"), [] { createNote(QString()); });
    m_newNoteMenu->addSeparator();
    for (const NoteTemplate& noteTemplate : NoteTemplate::builtIns()) {
        m_newNoteMenu->addAction(noteTemplate.name, [text = noteTemplate.makeNoteText()] { createNote(text); });
    }
    connect(m_newNote, &QAbstractButton::clicked, this,
            [this] { m_newNoteMenu->popup(m_newNote->mapToGlobal(QPoint(0, m_newNote->height()))); });
    auto* dimmed = new QGraphicsOpacityEffect(m_newNote);
    m_newNote->setGraphicsEffect(dimmed);
    group->addWidget(m_newNote);
    layout->addWidget(m_controls);

    fillSortMenu();
    connect(&workspace, &WorkspaceView::stateChanged, this, &WorkspaceToolbar::refresh);
    refresh();
}

int WorkspaceToolbar::leadingMinimumWidth() const
{
    return m_search->minimumWidth();
}

void WorkspaceToolbar::fillSortMenu()
{
    m_sortMenu->clear();
    for (const WorkspaceSortMode mode : workspaceSortMode::allCases) {
        QAction* action = m_sortMenu->addAction(workspaceSortMode::title(mode), [this, mode] { m_workspace.setSortMode(mode); });
        action->setCheckable(true);
        action->setChecked(mode == m_workspace.sortMode());
    }
}

void WorkspaceToolbar::refresh()
{
    if (m_search->text() != m_workspace.searchQuery()) {
        m_search->setText(m_workspace.searchQuery());
    }
    m_sort->setToolTip(QStringLiteral("Sort by ") + workspaceSortMode::title(m_workspace.sortMode()));
    const bool trash = m_workspace.selection() == MainSection::trash;
    m_newNote->setEnabled(!trash);
    static_cast<QGraphicsOpacityEffect*>(m_newNote->graphicsEffect())->setOpacity(trash ? 0.45 : 1.0);
    // The mode not shown is drawn dimmed.
    const bool grid = m_workspace.viewModeGrid();
    m_grid->setDown(!grid);
    m_list->setDown(grid);
}

} // namespace norvelle
