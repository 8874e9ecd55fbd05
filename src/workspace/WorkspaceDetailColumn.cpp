#include "workspace/WorkspaceDetailColumn.h"

#include "ui/BadgeLabel.h"
#include "ui/PlainButton.h"
#include "ui/SchemeColors.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"
#include "workspace/NoteGridView.h"
#include "workspace/PinnedNotePreviewChip.h"
#include "workspace/WorkspaceBulkActions.h"
#include "workspace/WorkspaceBulkBar.h"
#include "workspace/WorkspaceEmptyState.h"
#include "workspace/WorkspaceToolbar.h"
#include "workspace/WorkspaceView.h"

#include <QHBoxLayout>
#include <QMessageBox>
#include <QPainter>
#include <QScrollArea>
#include <QStackedLayout>
#include <QVBoxLayout>

#include <functional>

namespace norvelle {

namespace {

// The header row with its hairline along the bottom.
class HeaderRow : public QWidget {
public:
    using QWidget::QWidget;
    std::function<void()> resized;

protected:
    void resizeEvent(QResizeEvent*) override
    {
        if (resized) {
            resized();
        }
    }

    void paintEvent(QPaintEvent*) override
    {
        QPainter painter(this);
        QColor rule = SchemeColors(palette()).overlay(0.06, 0.1);
        rule.setAlphaF(rule.alphaF() * 0.35f);
        painter.fillRect(QRectF(0, height() - 0.5, width(), 0.5), rule);
    }
};

QColor badgeFill(const SchemeColors& colors)
{
    return colors.overlay(0.08, 0.06);
}

} // namespace

WorkspaceDetailColumn::WorkspaceDetailColumn(WorkspaceView& workspace, QWidget* parent)
    : QWidget(parent)
    , m_workspace(workspace)
{
    m_layout = new QVBoxLayout(this);
    m_layout->setContentsMargins(0, 0, 0, 0);
    m_layout->setSpacing(0);
    m_layout->addWidget(makeHeader());
    m_layout->addWidget(makePinnedStrip());

    auto* content = new QWidget(this);
    auto* stack = new QStackedLayout(content);
    stack->setStackingMode(QStackedLayout::StackAll);
    m_emptyState = new WorkspaceEmptyState(content);
    m_notes = new NoteGridView(workspace, content);
    stack->addWidget(m_emptyState);
    stack->addWidget(m_notes);
    m_layout->addWidget(content, 1);

    connect(&workspace, &WorkspaceView::stateChanged, this, &WorkspaceDetailColumn::refresh);
    refresh();
}

QWidget* WorkspaceDetailColumn::makeHeader()
{
    auto* header = new HeaderRow(this);
    header->resized = [this] { wrapHeader(); };
    auto* rows = new QVBoxLayout(header);
    rows->setContentsMargins(16, 8, 16, 8);
    rows->setSpacing(0);
    m_headerLayout = new QHBoxLayout;
    m_headerLayout->setSpacing(12);
    rows->addLayout(m_headerLayout);
    m_secondRow = new QHBoxLayout;
    m_secondRow->addStretch(1);
    rows->addLayout(m_secondRow);
    auto* titleBlock = new QHBoxLayout;
    titleBlock->setSpacing(8);
    m_title = new TextLabel({}, viewFont(13, QFont::Bold), &SchemeColors::label, header);
    m_count = new BadgeLabel(viewFont(11), &SchemeColors::label, badgeFill, QSize(7, 2), -1, header);
    m_emptyTrash = new PlainButton(QStringLiteral("Empty Trash"),
        {.font = viewFont(12, QFont::DemiBold), .color = &SchemeColors::destructive, .padding = QMargins(8, 3, 8, 3), .minimumHeight = 24, .fill = badgeFill, .radius = 6},
        header);
    connect(m_emptyTrash, &QAbstractButton::clicked, this, [this] { m_workspace.setConfirmEmptyTrash(true); });
    titleBlock->addWidget(m_title);
    titleBlock->addWidget(m_count);
    titleBlock->addWidget(m_emptyTrash);
    m_headerLayout->addLayout(titleBlock);
    m_bulkBar = new WorkspaceBulkBar(m_workspace, header);
    m_headerLayout->addWidget(m_bulkBar, 1);
    m_headerLayout->addStretch(0);
    // As tall as its rows, also in a short window: the notes below give way instead.
    header->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    return header;
}

QWidget* WorkspaceDetailColumn::makePinnedStrip()
{
    m_pinnedStrip = new QWidget(this);
    auto* layout = new QVBoxLayout(m_pinnedStrip);
    layout->setContentsMargins(14, 10, 14, 0);
    layout->setSpacing(8);
    layout->addWidget(TextLabel::withSymbol(QStringLiteral("pin.fill"), QStringLiteral("Pinned"), viewFont(12, QFont::DemiBold),
        6, m_pinnedStrip, &SchemeColors::secondaryText));
    auto* scroll = new QScrollArea(m_pinnedStrip);
    scroll->setFrameShape(QFrame::NoFrame);
    scroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    scroll->setWidgetResizable(true);
    scroll->setFixedHeight(52);
    scroll->viewport()->setAutoFillBackground(false);
    auto* row = new QWidget(scroll);
    m_chips = new QHBoxLayout(row);
    m_chips->setContentsMargins(0, 2, 0, 2);
    m_chips->setSpacing(10);
    m_chips->addStretch(1);
    scroll->setWidget(row);
    // Set after setWidget, which turns it on: the strip shows the window's background.
    row->setAutoFillBackground(false);
    layout->addWidget(scroll);
    return m_pinnedStrip;
}

void WorkspaceDetailColumn::setToolbar(WorkspaceToolbar* toolbar)
{
    m_toolbar = toolbar;
    m_headerLayout->insertWidget(2, toolbar, 1);
    refresh();
}

void WorkspaceDetailColumn::setBanner(QWidget* banner)
{
    m_layout->insertWidget(0, banner);
}

void WorkspaceDetailColumn::refresh()
{
    const MainSection section = m_workspace.selection();
    const WorkspaceView::NoteRefs& list = m_workspace.workspaceNoteList();
    m_title->setText(mainSection::rawValue(section));
    m_count->setText(QString::number(list.size()));
    m_emptyTrash->setVisible(section == MainSection::trash && !list.empty());
    const bool selecting = m_workspace.isSelectingNotes();
    // The leaving bar goes first: both shown at once would widen the window for good.
    QWidget* leaving = selecting ? static_cast<QWidget*>(m_toolbar) : m_bulkBar;
    QWidget* arriving = selecting ? static_cast<QWidget*>(m_bulkBar) : m_toolbar;
    if (leaving) {
        leaving->hide();
    }
    if (selecting) {
        m_bulkBar->refresh();
    }
    if (arriving) {
        arriving->show();
    }
    wrapHeader();
    refreshPinnedStrip();
    m_notes->refresh();
    if (list.empty()) {
        m_emptyState->showTexts(WorkspaceEmptyState::texts(section, m_workspace.searchQuery()));
    } else {
        m_emptyState->hide();
    }
    refreshDialogs();
}

void WorkspaceDetailColumn::wrapHeader()
{
    const bool selecting = m_workspace.isSelectingNotes();
    const int titleWidth = m_headerLayout->itemAt(0)->sizeHint().width();
    const QMargins margins = m_headerLayout->parentWidget()->layout()->contentsMargins();
    const auto place = [&](QWidget* bar, QWidget* trail, int leadWidth, bool active) {
        const int oneRow = margins.left() + titleWidth + m_headerLayout->spacing() + leadWidth
            + bar->layout()->spacing() + trail->sizeHint().width() + margins.right();
        const bool wrapped = active && oneRow > m_headerLayout->parentWidget()->width();
        QBoxLayout* home = static_cast<QBoxLayout*>(bar->layout());
        if (wrapped == (trail->parentWidget() != bar)) {
            return;
        }
        (wrapped ? home : m_secondRow)->removeWidget(trail);
        (wrapped ? m_secondRow : home)->addWidget(trail);
    };
    if (m_toolbar) {
        place(m_toolbar, m_toolbar->trailingControls(), m_toolbar->leadingMinimumWidth(), !selecting);
    }
    place(m_bulkBar, m_bulkBar->trailingControls(), m_bulkBar->leadingMinimumWidth(), selecting);
    m_secondRow->setContentsMargins(0, m_secondRow->count() > 1 ? 8 : 0, 0, 0);
}

void WorkspaceDetailColumn::refreshPinnedStrip()
{
    const WorkspaceView::NoteRefs pinned = m_workspace.isSelectingNotes() ? WorkspaceView::NoteRefs() : m_workspace.pinnedStripNotes();
    QStringList shown;
    for (const WorkspaceNoteEntry* note : pinned) {
        shown << note->identity();
    }
    m_pinnedStrip->setVisible(!pinned.empty());
    if (shown == m_pinnedShown) {
        for (PinnedNotePreviewChip* chip : m_pinnedStrip->findChildren<PinnedNotePreviewChip*>()) {
            chip->update();
        }
        return;
    }
    m_pinnedShown = shown;
    while (m_chips->count() > 1) {
        delete m_chips->takeAt(0)->widget();
    }
    const std::vector<std::shared_ptr<StickyNote>> notes = m_workspace.index().notes(pinned);
    for (qsizetype i = 0; i < qsizetype(notes.size()); ++i) {
        m_chips->insertWidget(int(i), new PinnedNotePreviewChip(notes[size_t(i)], m_chips->parentWidget()));
    }
}

void WorkspaceDetailColumn::refreshDialogs()
{
    if (m_confirmation) {
        return;
    }
    if (m_workspace.confirmEmptyTrash()) {
        m_confirmation = WorkspaceBulkActions::confirmEmptyTrash(m_workspace, this);
    } else if (m_workspace.confirmBulkPermanentDelete()) {
        m_confirmation = WorkspaceBulkActions::confirmBulkPermanentDelete(m_workspace, this);
    }
}

} // namespace norvelle
