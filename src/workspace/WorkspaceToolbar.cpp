#include "workspace/WorkspaceToolbar.h"

#include "core/AppDelegating.h"
#include "sticky/NoteFileOperations.h"
#include "ui/PlainButton.h"
#include "ui/RoundedSurface.h"
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

#include <functional>

namespace norvelle {

namespace {

QColor fieldFill(const SchemeColors& colors)
{
    return colors.overlay(0.08, 0.06);
}

QColor hairline(const SchemeColors& colors)
{
    QColor color = colors.overlay(0.06, 0.1);
    color.setAlphaF(color.alphaF() * 0.35f);
    return color;
}

// One half of the grid/list switch: the mode shown now in the primary colour on a faint fill,
// the other in the secondary colour.
PlainButton* viewModeButton(const QString& symbol, std::function<bool()> active, QWidget* parent)
{
    const auto color = [active](const SchemeColors& colors) { return active() ? colors.label() : colors.secondaryText(); };
    const auto fill = [active](const SchemeColors& colors) { return active() ? colors.overlay(0.05, 0.04) : QColor(Qt::transparent); };
    return new PlainButton({}, {.font = viewFont(13, QFont::DemiBold), .color = color, .symbol = symbol, .symbolSize = 13, .padding = QMargins(11, 0, 12, 0), .minimumHeight = 26, .fill = fill, .radius = 6},
        parent);
}

QWidget* divider(QWidget* parent)
{
    return new RoundedSurface([](const SchemeColors& colors) {
        QColor color = colors.overlay(0.06, 0.1);
        color.setAlphaF(color.alphaF() * 0.55f);
        return color;
    },
        0, parent);
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
    m_search = new SearchField(QStringLiteral("Search notes"), {13, 13, 10, QMargins(10, 0, 10, 0), false}, fieldFill, this);
    m_search->setBorder(hairline);
    m_search->setFixedHeight(34);
    m_search->setMinimumWidth(160);
    m_search->setMaximumWidth(400);
    connect(m_search, &SearchField::textChanged, this, [this](const QString& text) { m_workspace.setSearchQuery(text); });
    layout->addWidget(m_search, 1);

    m_controls = new QWidget(this);
    auto* group = new QHBoxLayout(m_controls);
    group->setContentsMargins(0, 0, 0, 0);
    group->setSpacing(8);
    auto* viewSwitch = new RoundedSurface(fieldFill, 9, this);
    viewSwitch->setBorder(hairline);
    viewSwitch->setFixedHeight(34);
    viewSwitch->setToolTip(QStringLiteral("Grid or list"));
    viewSwitch->setAccessibleName(QStringLiteral("View"));
    viewSwitch->setAccessibleDescription(QStringLiteral("Switch between grid and list"));
    auto* pair = new QHBoxLayout(viewSwitch);
    pair->setContentsMargins(3, 3, 3, 3);
    pair->setSpacing(2);
    m_grid = viewModeButton(
        QStringLiteral("square.grid.2x2"), [this] { return m_workspace.viewModeGrid(); }, viewSwitch);
    m_list = viewModeButton(
        QStringLiteral("list.bullet"), [this] { return !m_workspace.viewModeGrid(); }, viewSwitch);
    for (PlainButton* button : {m_grid, m_list}) {
        button->setAccessibleName(QStringLiteral("View"));
        button->setAccessibleDescription(QStringLiteral("Switch between grid and list"));
        pair->addWidget(button);
    }
    connect(m_grid, &QAbstractButton::clicked, this, [this] { m_workspace.setViewModeGrid(true); });
    connect(m_list, &QAbstractButton::clicked, this, [this] { m_workspace.setViewModeGrid(false); });
    group->addWidget(viewSwitch);
    QWidget* bar = divider(this);
    bar->setFixedSize(1, 20);
    group->addWidget(bar);
    m_select = new QPushButton(QStringLiteral("Select"), this);
    connect(m_select, &QPushButton::clicked, this, [this] { m_workspace.setSelectingNotes(true); });
    m_import = new QPushButton(QStringLiteral("Import"), this);
    connect(m_import, &QPushButton::clicked, this, [this] {
        NoteFileOperations::importNoteFromFile(this, [workspace = QPointer<WorkspaceView>(&m_workspace)](const ObjectID& id) {
            if (workspace) {
                workspace->revealNote(id);
            }
        });
    });
    group->addWidget(m_select);
    group->addWidget(m_import);

    m_sort = new PlainButton({}, {.font = viewFont(14, QFont::DemiBold), .color = &SchemeColors::label, .symbol = QStringLiteral("arrow.up.arrow.down.circle"), .symbolSize = 14, .padding = QMargins(10, 0, 10, 0), .minimumHeight = 34, .fill = fieldFill, .radius = 8, .trailingSymbol = QStringLiteral("chevron.down"), .trailingSymbolSize = 9, .trailingColor = &SchemeColors::tertiaryText, .border = hairline},
        this);
    m_sortMenu = new QMenu(this);
    connect(m_sort, &QAbstractButton::clicked, this, [this] {
        fillSortMenu();
        m_sortMenu->popup(m_sort->mapToGlobal(QPoint(0, m_sort->height())));
    });
    group->addWidget(m_sort);

    m_newNote = new PlainButton({}, {.font = viewFont(14, QFont::DemiBold), .color = [](const SchemeColors&) { return QColor(Qt::white); }, .symbol = QStringLiteral("square.and.pencil"), .symbolSize = 16, .padding = QMargins(9, 8, 9, 8), .minimumHeight = 34, .fill = &SchemeColors::accent, .radius = 8},
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
    m_grid->update();
    m_list->update();
}

} // namespace norvelle
