#include "clipboard/ClipboardStripView.h"

#include "clipboard/ClearClipHistory.h"
#include "clipboard/ClipRule.h"
#include "clipboard/ClipStripList.h"
#include "clipboard/ClipThumbnailCache.h"
#include "clipboard/ClipboardMonitor.h"
#include "core/NorvelleShortcutsProfile.h"
#include "ui/BadgeLabel.h"
#include "ui/CountedNoun.h"
#include "ui/PlainButton.h"
#include "ui/RoundedPainting.h"
#include "ui/RoundedSurface.h"
#include "ui/SchemeColors.h"
#include "ui/SearchField.h"
#include "ui/SymbolView.h"
#include "ui/TextLabel.h"
#include "ui/ViewFont.h"

#include <QFontDatabase>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPainter>
#include <QScrollArea>
#include <QScrollBar>
#include <QShortcut>
#include <QStackedWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace norvelle {

namespace {

constexpr int headerHeight = 44;
constexpr int footerHeight = 36;
constexpr int hintHeight = 26;
constexpr int stateMinimumHeight = 200;
constexpr int listMaximumHeight = 400;
constexpr qreal cornerRadius = 16;

QColor subtleFill(const SchemeColors& colors) { return colors.overlay(0.07, 0.06); }
QColor ruleColor(const SchemeColors& colors) { return colors.overlay(0.08, 0.08); }

QFont monospacedFont(qreal size, QFont::Weight weight)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPixelSize(qRound(size));
    font.setWeight(weight);
    return font;
}

// A flexible spacer that never shrinks below `minimum`.
void addFlexibleSpace(QVBoxLayout* layout, int minimum)
{
    layout->addSpacerItem(new QSpacerItem(0, minimum, QSizePolicy::Minimum, QSizePolicy::Expanding));
}

} // namespace

ClipboardStripView::ClipboardStripView(ClipboardMonitor& monitor, Callbacks callbacks, QWidget* parent)
    : QWidget(parent)
    , m_monitor(monitor)
    , m_callbacks(std::move(callbacks))
{
    setFixedWidth(stripWidth);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(makeHeader());
    layout->addWidget(makeSearchSection());
    layout->addWidget(new ClipRule(ruleColor, 1, this));

    m_content = new QStackedWidget(this);
    m_content->addWidget(makeEmptyState());
    m_content->addWidget(makeNoMatchState());
    m_content->addWidget(makeListPage());
    layout->addWidget(m_content, 1);
    layout->addWidget(makeFooter());
    makeKeyboardLayer();

    connect(&m_monitor, &ClipboardMonitor::itemsChanged, this, &ClipboardStripView::itemsChanged);
    connect(m_search, &SearchField::textChanged, this, &ClipboardStripView::refresh);
    connect(m_list, &ClipStripList::clicked, this, &ClipboardStripView::rowClicked);
    itemsChanged();
}

QWidget* ClipboardStripView::makeHeader()
{
    auto* header = new QWidget(this);
    header->setFixedHeight(headerHeight);
    auto* layout = new QHBoxLayout(header);
    layout->setContentsMargins(12, 0, 12, 0);
    layout->setSpacing(8);
    layout->addWidget(TextLabel::withSymbol(QStringLiteral("clipboard"), QStringLiteral("Clipboard"),
        viewFont(13, QFont::DemiBold), 6, header));
    layout->addStretch(1);

    m_shortcutBadge = new BadgeLabel(monospacedFont(10, QFont::DemiBold), &SchemeColors::label, subtleFill, QSize(8, 4), 8, header);
    layout->addWidget(m_shortcutBadge);

    m_clearAllButton = new PlainButton(QStringLiteral("Clear all"),
        {.font = viewFont(12),
            .color = &SchemeColors::destructive,
            .padding = QMargins(8, 0, 8, 0),
            .minimumHeight = 28},
        header);
    connect(m_clearAllButton, &QAbstractButton::clicked, this, &ClipboardStripView::clearAll);
    layout->addWidget(m_clearAllButton);
    return header;
}

QWidget* ClipboardStripView::makeSearchSection()
{
    m_searchSection = new QWidget(this);
    auto* layout = new QVBoxLayout(m_searchSection);
    layout->setContentsMargins(12, 0, 12, 8);
    m_search = new SearchField(QStringLiteral("Search clips"), {12, 11, 8, QMargins(10, 6, 10, 6)}, subtleFill,
        m_searchSection);
    layout->addWidget(m_search);
    return m_searchSection;
}

QWidget* ClipboardStripView::makeEmptyState()
{
    auto* state = new QWidget(this);
    state->setMinimumHeight(stateMinimumHeight);
    auto* layout = new QVBoxLayout(state);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(10);
    addFlexibleSpace(layout, 28);

    auto* symbol = new SymbolView(QStringLiteral("clipboard"), 24, &SchemeColors::secondaryText, state);
    symbol->setCircle(60, [](const SchemeColors& colors) {
        QColor accent = colors.accent();
        accent.setAlphaF(0.12f);
        return accent;
    });
    layout->addWidget(symbol, 0, Qt::AlignHCenter);

    auto* title = new TextLabel(QStringLiteral("No clips yet"), viewFont(15, QFont::DemiBold), &SchemeColors::label, state);
    layout->addWidget(title, 0, Qt::AlignHCenter);

    auto* message = new TextLabel(QStringLiteral("Copy anything and it’ll appear here automatically."), viewFont(12),
        &SchemeColors::secondaryText, state);
    message->setAlignment(Qt::AlignHCenter);
    message->setWordWrap(true);
    message->setContentsMargins(28, 0, 28, 0);
    layout->addWidget(message);
    addFlexibleSpace(layout, 28);
    return state;
}

QWidget* ClipboardStripView::makeNoMatchState()
{
    auto* state = new QWidget(this);
    state->setMinimumHeight(stateMinimumHeight);
    auto* layout = new QVBoxLayout(state);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(8);
    addFlexibleSpace(layout, 28);
    layout->addWidget(new SymbolView(QStringLiteral("magnifyingglass"), 22, &SchemeColors::secondaryText, state), 0,
        Qt::AlignHCenter);
    m_noMatchLabel = new TextLabel({}, viewFont(13), &SchemeColors::secondaryText, state);
    m_noMatchLabel->setAlignment(Qt::AlignHCenter);
    m_noMatchLabel->setWordWrap(true);
    m_noMatchLabel->setContentsMargins(24, 0, 24, 0);
    layout->addWidget(m_noMatchLabel);
    addFlexibleSpace(layout, 28);
    return state;
}

QWidget* ClipboardStripView::makeListPage()
{
    auto* page = new QWidget(this);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);

    m_list = new ClipStripList;
    m_scrollArea = m_list->inScrollArea(page);
    m_scrollArea->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
    layout->addWidget(m_scrollArea, 1);
    layout->addWidget(makeHintBar());
    layout->addStretch(0);
    return page;
}

QWidget* ClipboardStripView::makeHintBar()
{
    auto* bar = new RoundedSurface([](const SchemeColors& colors) {
        QColor fill = colors.overlay(0.07, 0.06);
        fill.setAlphaF(fill.alphaF() * 0.5f);
        return fill;
    },
        0, this);
    bar->setFixedHeight(hintHeight);
    auto* layout = new QHBoxLayout(bar);
    layout->setContentsMargins(12, 0, 12, 0);
    layout->setSpacing(6);
    layout->addWidget(new SymbolView(QStringLiteral("hand.tap"), 10, &SchemeColors::secondaryText, bar));
    auto* hint = new TextLabel(QStringLiteral("Click a clip to paste it into the app you were using."), viewFont(10.5),
        &SchemeColors::secondaryText, bar);
    hint->setShrinkToFit(0.9);
    layout->addWidget(hint, 1);
    return bar;
}

QWidget* ClipboardStripView::makeFooter()
{
    auto* footer = new QWidget(this);
    m_footer = footer;
    footer->setFixedHeight(footerHeight);
    auto* layout = new QHBoxLayout(footer);
    layout->setContentsMargins(12, 0, 12, 0);
    m_openMainButton = new PlainButton(QStringLiteral("Open Norvelle →"),
        {.font = viewFont(12), .color = &SchemeColors::footerText, .padding = QMargins(8, 0, 8, 0), .minimumHeight = 30},
        footer);
    connect(m_openMainButton, &QAbstractButton::clicked, this, [this] {
        if (m_callbacks.onOpenMain)
            m_callbacks.onOpenMain();
        if (m_callbacks.onDismiss)
            m_callbacks.onDismiss();
    });
    layout->addWidget(m_openMainButton);
    layout->addStretch(1);
    m_countLabel = new TextLabel({}, viewFont(12), &SchemeColors::footerText, footer);
    layout->addWidget(m_countLabel);
    return footer;
}

void ClipboardStripView::makeKeyboardLayer()
{
    const auto bind = [this](QKeySequence key, auto action) {
        auto* shortcut = new QShortcut(key, this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, action);
        return shortcut;
    };
    bind(QKeySequence(Qt::Key_Up), [this] { moveSelection(-1); });
    bind(QKeySequence(Qt::Key_Down), [this] { moveSelection(+1); });
    bind(QKeySequence(Qt::Key_Escape), [this] {
        if (m_callbacks.onDismiss)
            m_callbacks.onDismiss();
    });
}

void ClipboardStripView::itemsChanged()
{
    ClipThumbnailCache::shared().update(m_monitor.items());
    refresh();
}

void ClipboardStripView::refresh()
{
    const QList<ClipEntry>& items = m_monitor.items();
    m_filtered = m_filter.filtered(items, m_search->text());
    m_searchSection->setVisible(!items.isEmpty());
    m_countLabel->setText(countedNoun(items.size(), QStringLiteral("clip"), QStringLiteral("clips")));
    m_shortcutBadge->setText(loadShortcutsProfile().label(NorvelleShortcutAction::clipboardHistory));

    if (items.isEmpty()) {
        m_content->setCurrentIndex(int(Content::empty));
    } else if (m_filtered.isEmpty()) {
        m_noMatchLabel->setText(ClipFilter::noMatchMessage(m_search->text()));
        m_content->setCurrentIndex(int(Content::noMatch));
    } else {
        m_list->setEntries(m_filtered);
        m_list->setSelectedIndex(m_selectedIndex);
        m_scrollArea->setMaximumHeight(std::min(m_list->sizeHint().height(), listMaximumHeight));
        m_content->setCurrentIndex(int(Content::list));
    }
    rebuildPasteShortcuts();
}

// Return and Ctrl+1…Ctrl+9 exist only for rows the filtered list holds.
void ClipboardStripView::rebuildPasteShortcuts()
{
    const int count = int(m_filtered.size());
    if (count == 0 && m_returnShortcut) {
        delete m_returnShortcut;
        m_returnShortcut = nullptr;
    } else if (count > 0 && !m_returnShortcut) {
        m_returnShortcut = new QShortcut(this);
        m_returnShortcut->setKeys({QKeySequence(Qt::Key_Return), QKeySequence(Qt::Key_Enter)});
        m_returnShortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(m_returnShortcut, &QShortcut::activated, this, &ClipboardStripView::returnPressed);
    }

    const int digits = std::min(count, ClipStripList::badgedRows);
    while (int(m_digitShortcuts.size()) > digits) {
        delete m_digitShortcuts.back();
        m_digitShortcuts.pop_back();
    }
    while (int(m_digitShortcuts.size()) < digits) {
        const int index = int(m_digitShortcuts.size());
        auto* shortcut = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key(Qt::Key_1 + index)), this);
        shortcut->setContext(Qt::WidgetWithChildrenShortcut);
        connect(shortcut, &QShortcut::activated, this, [this, index] { paste(index); });
        m_digitShortcuts.push_back(shortcut);
    }
}

// A click on a row pastes it and then selects it; "→ Sticky" does neither.
void ClipboardStripView::rowClicked(const QUuid& id, int part)
{
    const int index = m_list->indexOf(id);
    if (index < 0 || index >= m_filtered.size())
        return;
    if (part == ClipStripList::stickyButton) {
        if (m_callbacks.onCreateSticky)
            m_callbacks.onCreateSticky(m_filtered.at(index).text);
        return;
    }
    paste(index);
    setSelectedIndex(index);
}

void ClipboardStripView::moveSelection(int step)
{
    const int count = int(m_filtered.size());
    if (count == 0)
        return;
    setSelectedIndex(step < 0 ? std::max(m_selectedIndex - 1, 0) : std::min(m_selectedIndex + 1, count - 1));
    if (m_selectedIndex < count)
        m_scrollArea->ensureVisible(0, m_list->itemRect(m_selectedIndex).center().y(), 0,
            ClipStripList::rowHeight / 2 + 8);
}

void ClipboardStripView::returnPressed()
{
    if (m_filtered.isEmpty())
        return;
    paste(std::min(int(m_filtered.size()) - 1, m_selectedIndex));
}

void ClipboardStripView::paste(int index)
{
    if (index < 0 || index >= m_filtered.size() || !m_callbacks.onPasteClip)
        return;
    const ClipEntry entry = m_filtered.at(index);
    m_callbacks.onPasteClip(entry);
}

void ClipboardStripView::setSelectedIndex(int index)
{
    m_selectedIndex = index;
    m_list->setSelectedIndex(index);
}

void ClipboardStripView::clearAll()
{
    clearClipHistory(m_monitor);
}

std::optional<QUuid> ClipboardStripView::hoveredID() const
{
    return m_list->hoveredID();
}

QLineEdit* ClipboardStripView::searchField() const
{
    return m_search->lineEdit();
}

ClipboardStripView::Content ClipboardStripView::content() const
{
    return Content(m_content->currentIndex());
}

QString ClipboardStripView::footerCountText() const
{
    return m_countLabel->text();
}

QString ClipboardStripView::shortcutBadgeText() const
{
    return m_shortcutBadge->text();
}

QString ClipboardStripView::noMatchText() const
{
    return m_noMatchLabel->text();
}

QSize ClipboardStripView::sizeHint() const
{
    return {stripWidth, QWidget::sizeHint().height()};
}

void ClipboardStripView::showEvent(QShowEvent* event)
{
    // The profile can change while the popover is hidden: the header reads it again.
    refresh();
    searchField()->setFocus(Qt::PopupFocusReason);
    QWidget::showEvent(event);
}

void ClipboardStripView::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const SchemeColors colors(palette());
    const QRectF bounds = rect();
    fillRounded(painter, bounds, cornerRadius, colors.background());
    painter.fillRect(QRectF(0, m_footer->y(), width(), 0.5), ruleColor(colors));
    strokeRounded(painter, bounds, cornerRadius, colors.overlay(0.1, 0.12), 0.5);
}

} // namespace norvelle
