#pragma once

#include "clipboard/ClipEntry.h"
#include "clipboard/ClipFilter.h"

#include <QList>
#include <QWidget>

#include <functional>
#include <optional>
#include <vector>

class QLineEdit;
class QScrollArea;
class QShortcut;
class QStackedWidget;

namespace norvelle {

class BadgeLabel;
class PlainButton;
class TextLabel;
class SearchField;
class ClipStripList;
class ClipboardMonitor;

// The clip strip of the clipboard popover: the history, newest first, searchable and
// keyboard-driven. A click or Return pastes a clip, Ctrl+1…Ctrl+9 the first nine, the arrows
// move the selection, Escape dismisses. It follows the monitor's items and keeps no clips of
// its own; the host supplies what each action does.
class ClipboardStripView : public QWidget {
    Q_OBJECT
public:
    struct Callbacks {
        std::function<void(const QString& text)> onCreateSticky;
        std::function<void(const ClipEntry& entry)> onPasteClip;
        std::function<void()> onDismiss;
        std::function<void()> onOpenMain;
    };

    static constexpr int stripWidth = 320;

    ClipboardStripView(ClipboardMonitor& monitor, Callbacks callbacks, QWidget* parent = nullptr);

    const QList<ClipEntry>& filteredItems() const { return m_filtered; }
    int selectedIndex() const { return m_selectedIndex; }
    std::optional<QUuid> hoveredID() const;

    // Empties the history and posts the history-changed notification.
    void clearAll();

    QLineEdit* searchField() const;
    ClipStripList* list() const { return m_list; }
    PlainButton* clearAllButton() const { return m_clearAllButton; }
    PlainButton* openMainButton() const { return m_openMainButton; }
    // Which content shows: the empty state, the no-match state or the list.
    enum class Content { empty,
        noMatch,
        list };
    Content content() const;
    QString footerCountText() const;
    QString shortcutBadgeText() const;
    QString noMatchText() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    QWidget* makeHeader();
    QWidget* makeSearchSection();
    QWidget* makeEmptyState();
    QWidget* makeNoMatchState();
    QWidget* makeListPage();
    QWidget* makeHintBar();
    QWidget* makeFooter();
    void makeKeyboardLayer();

    void itemsChanged();
    void refresh();
    void rebuildPasteShortcuts();
    void rowClicked(const QUuid& id, int part);
    void moveSelection(int step);
    void returnPressed();
    void paste(int index);
    void setSelectedIndex(int index);

    ClipboardMonitor& m_monitor;
    Callbacks m_callbacks;
    ClipFilter m_filter;
    QList<ClipEntry> m_filtered;
    int m_selectedIndex = 0;

    BadgeLabel* m_shortcutBadge = nullptr;
    PlainButton* m_clearAllButton = nullptr;
    QWidget* m_searchSection = nullptr;
    SearchField* m_search = nullptr;
    QStackedWidget* m_content = nullptr;
    TextLabel* m_noMatchLabel = nullptr;
    QScrollArea* m_scrollArea = nullptr;
    ClipStripList* m_list = nullptr;
    QWidget* m_footer = nullptr;
    PlainButton* m_openMainButton = nullptr;
    TextLabel* m_countLabel = nullptr;

    QShortcut* m_returnShortcut = nullptr;
    std::vector<QShortcut*> m_digitShortcuts;
};

} // namespace norvelle
