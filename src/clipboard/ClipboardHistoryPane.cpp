#include "clipboard/ClipboardHistoryPane.h"

#include "clipboard/ClearClipHistory.h"
#include "clipboard/ClipCardList.h"
#include "clipboard/ClipRule.h"
#include "clipboard/ClipThumbnailCache.h"
#include "clipboard/ClipboardMonitor.h"
#include "clipboard/ClipboardRetentionMode.h"
#include "core/NorvelleShortcutsProfile.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "ui/BadgeLabel.h"
#include "ui/PlainButton.h"
#include "ui/SchemeColors.h"
#include "ui/SearchField.h"
#include "ui/SymbolView.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QActionGroup>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMenu>
#include <QScrollArea>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace norvelle {

namespace {

QColor fieldFill(const SchemeColors& colors) { return colors.overlay(0.08, 0.06); }

} // namespace

ClipboardHistoryPane::ClipboardHistoryPane(ClipboardMonitor& monitor, UseClip onUse, CreateSticky onCreateSticky,
    QWidget* parent)
    : QWidget(parent)
    , m_monitor(monitor)
    , m_onUse(std::move(onUse))
    , m_onCreateSticky(std::move(onCreateSticky))
{
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeHeader());
    layout->addWidget(new ClipRule([](const SchemeColors& colors) {
        QColor rule = colors.overlay(0.06, 0.1);
        rule.setAlphaF(rule.alphaF() * 0.35f);
        return rule;
    },
        0.5, this));

    m_content = new QStackedWidget(this);
    m_content->addWidget(makeEmptyState());
    m_content->addWidget(makeNoMatchState());
    m_content->addWidget(makeList());
    layout->addWidget(m_content, 1);

    connect(&m_monitor, &ClipboardMonitor::itemsChanged, this, &ClipboardHistoryPane::itemsChanged);
    connect(m_search, &SearchField::textChanged, this, &ClipboardHistoryPane::refresh);
    connect(&UserDefaults::standard(), &UserDefaults::changed, this, [this](const QString& key) {
        if (key == storedSettings::clipboardRetentionMode.key)
            refreshRetention();
    });
    refreshRetention();
    itemsChanged();
}

QWidget* ClipboardHistoryPane::makeHeader()
{
    auto* header = new QWidget(this);
    auto* layout = new QVBoxLayout(header);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->setSpacing(12);

    auto* titleRow = new QHBoxLayout;
    titleRow->setSpacing(10);
    titleRow->addWidget(TextLabel::withSymbol(QStringLiteral("list.clipboard"), QStringLiteral("Clipboard history"),
        viewFont(16, QFont::DemiBold), 7, header));
    m_countBadge = new BadgeLabel(viewFont(11, QFont::Medium), &SchemeColors::secondaryText, fieldFill, QSize(7, 2), -1, header);
    titleRow->addWidget(m_countBadge);
    titleRow->addStretch(1);

    m_retentionButton = new PlainButton({}, {.font = viewFont(12), .color = &SchemeColors::label, .symbol = QStringLiteral("clock"), .symbolSize = 12, .padding = QMargins(6, 0, 6, 0), .minimumHeight = 28},
        header);
    makeRetentionMenu();
    titleRow->addWidget(m_retentionButton);

    m_clearAllButton = new PlainButton(QStringLiteral("Clear all"),
        {.font = viewFont(12),
            .color = &SchemeColors::destructive,
            .padding = QMargins(6, 0, 6, 0),
            .minimumHeight = 28},
        header);
    connect(m_clearAllButton, &QAbstractButton::clicked, this, &ClipboardHistoryPane::clearAll);
    titleRow->addWidget(m_clearAllButton);
    layout->addLayout(titleRow);

    m_search = new SearchField(QStringLiteral("Search your clipboard…"), {13, 12, 9, QMargins(12, 8, 12, 8)},
        fieldFill, header);
    layout->addWidget(m_search);
    return header;
}

void ClipboardHistoryPane::makeRetentionMenu()
{
    m_retentionMenu = new QMenu(this);
    m_retentionMenu->addSection(QStringLiteral("Keep history for"));
    auto* group = new QActionGroup(m_retentionMenu);
    group->setExclusive(true);
    for (const ClipboardRetentionMode& mode : ClipboardRetentionMode::allCases()) {
        QAction* action = m_retentionMenu->addAction(mode.title());
        action->setCheckable(true);
        action->setData(mode.rawValue());
        group->addAction(action);
        connect(action, &QAction::triggered, this, [this, raw = mode.rawValue()] { chooseRetention(raw); });
    }
    connect(m_retentionButton, &QAbstractButton::clicked, this, [this] {
        m_retentionMenu->popup(m_retentionButton->mapToGlobal(QPoint(0, m_retentionButton->height())));
    });
}

QWidget* ClipboardHistoryPane::makeEmptyState()
{
    auto* state = new QWidget(this);
    auto* layout = new QVBoxLayout(state);
    layout->setSpacing(12);
    layout->addStretch(1);
    layout->addWidget(new SymbolView(QStringLiteral("list.clipboard"), 42, &SchemeColors::secondaryText, state), 0, Qt::AlignHCenter);
    layout->addWidget(new TextLabel(QStringLiteral("No clips yet"), viewFont(17, QFont::DemiBold), &SchemeColors::label, state), 0,
        Qt::AlignHCenter);
    m_emptyHint = new TextLabel({}, viewFont(13), &SchemeColors::secondaryText, state);
    m_emptyHint->setAlignment(Qt::AlignHCenter);
    m_emptyHint->setWordWrap(true);
    m_emptyHint->setMaximumWidth(360);
    // Centred by a row rather than by alignment: an aligned label is given the height of its
    // text on the column's full width, one line, and its wrapped lines are cut off.
    auto* hintRow = new QHBoxLayout;
    hintRow->addStretch();
    hintRow->addWidget(m_emptyHint, 1);
    hintRow->addStretch();
    layout->addLayout(hintRow);
    layout->addStretch(1);
    return state;
}

QWidget* ClipboardHistoryPane::makeNoMatchState()
{
    auto* state = new QWidget(this);
    auto* layout = new QVBoxLayout(state);
    layout->setSpacing(10);
    layout->addStretch(1);
    layout->addWidget(new SymbolView(QStringLiteral("magnifyingglass"), 34, &SchemeColors::secondaryText, state), 0, Qt::AlignHCenter);
    m_noMatchLabel = new TextLabel({}, viewFont(13), &SchemeColors::secondaryText, state);
    m_noMatchLabel->setAlignment(Qt::AlignHCenter);
    m_noMatchLabel->setWordWrap(true);
    layout->addWidget(m_noMatchLabel);
    layout->addStretch(1);
    return state;
}

QWidget* ClipboardHistoryPane::makeList()
{
    m_cards = new ClipCardList;
    connect(m_cards, &ClipCardList::clicked, this, &ClipboardHistoryPane::cardClicked);
    return m_cards->inScrollArea(this);
}

// The card itself and its copy button use the clip; delete asks nothing.
void ClipboardHistoryPane::cardClicked(const QUuid& id, int part)
{
    const int index = m_cards->indexOf(id);
    if (index < 0)
        return;
    const ClipEntry entry = m_cards->entries().at(index);
    if (part == int(ClipCardList::Action::remove)) {
        m_monitor.removeEntry(entry.id);
    } else if (part == int(ClipCardList::Action::newSticky)) {
        if (m_onCreateSticky)
            m_onCreateSticky(entry.text);
    } else if (m_onUse) {
        m_onUse(entry);
    }
}

void ClipboardHistoryPane::itemsChanged()
{
    ClipThumbnailCache::shared().update(m_monitor.items());
    refresh();
}

void ClipboardHistoryPane::refresh()
{
    const QList<ClipEntry>& items = m_monitor.items();
    m_filtered = m_filter.filtered(items, m_search->text());
    m_countBadge->setVisible(!items.isEmpty());
    m_countBadge->setText(QString::number(items.size()));
    m_clearAllButton->setEnabled(!items.isEmpty());

    if (items.isEmpty()) {
        m_emptyHint->setText(emptyHintText());
        m_content->setCurrentIndex(int(Content::empty));
    } else if (m_filtered.isEmpty()) {
        m_noMatchLabel->setText(ClipFilter::noMatchMessage(m_search->text()));
        m_content->setCurrentIndex(int(Content::noMatch));
    } else {
        m_cards->setEntries(m_filtered);
        m_content->setCurrentIndex(int(Content::list));
    }
}

void ClipboardHistoryPane::refreshRetention()
{
    const ClipboardRetentionMode current = ClipboardRetentionMode::current();
    m_retentionButton->setText(QStringLiteral("Keep: ") + current.title());
    for (QAction* action : m_retentionMenu->actions()) {
        if (action->isCheckable())
            action->setChecked(action->data().toString() == current.rawValue());
    }
}

// Only the setting changes: the monitor prunes by it on its next tick.
void ClipboardHistoryPane::chooseRetention(const QString& rawValue)
{
    UserDefaults::standard().set(storedSettings::clipboardRetentionMode.key, rawValue);
    refreshRetention();
}

void ClipboardHistoryPane::clearAll()
{
    clearClipHistory(m_monitor);
}

QString ClipboardHistoryPane::emptyHintText()
{
    const QString hotKey = loadShortcutsProfile().label(NorvelleShortcutAction::clipboardHistory);
    return QStringLiteral("Copy anything and it appears here automatically. Press ") + hotKey + QStringLiteral(" to open it from any app.");
}

ClipboardHistoryPane::Content ClipboardHistoryPane::content() const
{
    return Content(m_content->currentIndex());
}

QLineEdit* ClipboardHistoryPane::searchField() const
{
    return m_search->lineEdit();
}

QString ClipboardHistoryPane::emptyHint() const
{
    return m_emptyHint->text();
}

QString ClipboardHistoryPane::noMatchText() const
{
    return m_noMatchLabel->text();
}

} // namespace norvelle
