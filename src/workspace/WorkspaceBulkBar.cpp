#include "workspace/WorkspaceBulkBar.h"

#include "store/NoteTrashOperations.h"
#include "ui/MenuEntry.h"
#include "ui/PlainButton.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"
#include "workspace/WorkspaceBulkActions.h"
#include "workspace/WorkspaceFoldersStore.h"
#include "workspace/WorkspaceView.h"

#include <QHBoxLayout>
#include <QMenu>

namespace norvelle {

namespace {

PlainButton* barButton(const QString& text, SchemeColorRole color, QWidget* parent)
{
    return new PlainButton(text, {.font = viewFont(12, QFont::Medium), .color = std::move(color), .padding = QMargins(10, 0, 10, 0), .minimumHeight = 34},
        parent);
}

} // namespace

WorkspaceBulkBar::WorkspaceBulkBar(WorkspaceView& workspace, QWidget* parent)
    : QWidget(parent)
    , m_workspace(workspace)
{
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    m_cancel = barButton(QStringLiteral("Cancel"), &SchemeColors::label, this);
    m_count = new TextLabel({}, viewFont(12), &SchemeColors::secondaryText, this);
    m_move = barButton(QStringLiteral("Move to…"), &SchemeColors::label, this);
    m_moveMenu = new QMenu(this);
    m_trash = barButton(QStringLiteral("Trash"), &SchemeColors::destructive, this);
    m_restore = barButton(QStringLiteral("Restore"), &SchemeColors::label, this);
    m_delete = barButton(QStringLiteral("Delete Permanently…"), &SchemeColors::destructive, this);
    m_share = barButton(QStringLiteral("Share…"), &SchemeColors::label, this);
    m_selectAll = barButton(QStringLiteral("Select All"), &SchemeColors::label, this);
    layout->addWidget(m_cancel);
    layout->addWidget(m_count);
    layout->addStretch(1);
    m_actions = new QWidget(this);
    auto* actions = new QHBoxLayout(m_actions);
    actions->setContentsMargins(0, 0, 0, 0);
    actions->setSpacing(10);
    for (PlainButton* button : {m_move, m_trash, m_restore, m_delete, m_share, m_selectAll}) {
        actions->addWidget(button);
    }
    layout->addWidget(m_actions);

    connect(m_cancel, &QAbstractButton::clicked, this, [this] { m_workspace.exitSelectionMode(); });
    connect(m_move, &QAbstractButton::clicked, this, [this] {
        fillMoveMenu();
        m_moveMenu->popup(m_move->mapToGlobal(QPoint(0, m_move->height())));
    });
    connect(m_trash, &QAbstractButton::clicked, this, [this] {
        WorkspaceBulkActions::runBulkOperation(m_workspace, NoteTrashOperations::moveNotesToTrash);
    });
    connect(m_restore, &QAbstractButton::clicked, this, [this] { WorkspaceBulkActions::restoreSelectedNotes(m_workspace); });
    connect(m_delete, &QAbstractButton::clicked, this, [this] { m_workspace.setConfirmBulkPermanentDelete(true); });
    connect(m_share, &QAbstractButton::clicked, this, [this] {
        WorkspaceBulkActions::shareSelectedNotes(m_workspace, m_share->mapToGlobal(QPoint(0, m_share->height())), this);
    });
    connect(m_selectAll, &QAbstractButton::clicked, this, [this] { WorkspaceBulkActions::selectAll(m_workspace); });
    fillMoveMenu();
    refresh();
}

int WorkspaceBulkBar::leadingMinimumWidth() const
{
    return m_cancel->sizeHint().width() + layout()->spacing() + m_count->sizeHint().width();
}

void WorkspaceBulkBar::fillMoveMenu()
{
    m_moveMenu->clear();
    const WorkspaceFoldersStore& folders = m_workspace.folderStore();
    for (const QString& slug : folders.allFolderSlugs()) {
        if (slug != u"all") {
            m_moveMenu->addAction(menuEntryTitle(*m_moveMenu, folders.displayName(slug)),
                [this, slug] { WorkspaceBulkActions::moveSelectedNotes(m_workspace, slug); });
        }
    }
}

void WorkspaceBulkBar::refresh()
{
    const bool trash = m_workspace.selection() == MainSection::trash;
    const bool any = !m_workspace.bulkSelectedIDs().isEmpty();
    m_count->setText(QStringLiteral("%1 selected").arg(m_workspace.bulkSelectedIDs().size()));
    m_move->setVisible(!trash);
    m_trash->setVisible(!trash);
    m_restore->setVisible(trash);
    m_delete->setVisible(trash);
    for (PlainButton* button : {m_move, m_trash, m_restore, m_delete, m_share}) {
        button->setEnabled(any);
    }
    m_selectAll->setEnabled(!m_workspace.workspaceNoteList().empty());
}

} // namespace norvelle
