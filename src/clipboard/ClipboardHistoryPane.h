#pragma once

#include "clipboard/ClipEntry.h"
#include "clipboard/ClipFilter.h"

#include <QList>
#include <QWidget>

#include <functional>

class QMenu;
class QLineEdit;
class QScrollArea;
class QStackedWidget;

namespace norvelle {

class BadgeLabel;
class PlainButton;
class ClipCardList;
class TextLabel;
class SearchField;
class ClipboardMonitor;

// The workspace's clipboard history page: every clip of the monitor as a card, newest first,
// with search, the retention choice ("Keep: …", shared with the settings through the user's
// defaults) and "Clear all". Using a clip is left to the host: the pane never pastes.
class ClipboardHistoryPane : public QWidget {
    Q_OBJECT
public:
    using UseClip = std::function<void(const ClipEntry& entry)>;
    using CreateSticky = std::function<void(const QString& text)>;

    ClipboardHistoryPane(ClipboardMonitor& monitor, UseClip onUse, CreateSticky onCreateSticky,
        QWidget* parent = nullptr);

    const QList<ClipEntry>& filteredItems() const { return m_filtered; }
    void clearAll();

    enum class Content { empty,
        noMatch,
        list };
    Content content() const;
    QLineEdit* searchField() const;
    ClipCardList* cards() const { return m_cards; }
    PlainButton* clearAllButton() const { return m_clearAllButton; }
    BadgeLabel* countBadge() const { return m_countBadge; }
    PlainButton* retentionButton() const { return m_retentionButton; }
    QMenu* retentionMenu() const { return m_retentionMenu; }
    QString emptyHint() const;
    QString noMatchText() const;

    // "Copy anything … Press <clipboard hot key> to open it from any app."
    static QString emptyHintText();

private:
    QWidget* makeHeader();
    QWidget* makeEmptyState();
    QWidget* makeNoMatchState();
    QWidget* makeList();
    void makeRetentionMenu();

    void cardClicked(const QUuid& id, int part);
    void itemsChanged();
    void refresh();
    void refreshRetention();
    void chooseRetention(const QString& rawValue);

    ClipboardMonitor& m_monitor;
    UseClip m_onUse;
    CreateSticky m_onCreateSticky;
    ClipFilter m_filter;
    QList<ClipEntry> m_filtered;

    BadgeLabel* m_countBadge = nullptr;
    PlainButton* m_retentionButton = nullptr;
    QMenu* m_retentionMenu = nullptr;
    PlainButton* m_clearAllButton = nullptr;
    SearchField* m_search = nullptr;
    QStackedWidget* m_content = nullptr;
    TextLabel* m_emptyHint = nullptr;
    TextLabel* m_noMatchLabel = nullptr;
    ClipCardList* m_cards = nullptr;
};

} // namespace norvelle
