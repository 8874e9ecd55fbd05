#pragma once

#include <QTextEdit>

namespace norvelle {

// What the text view asks of its editor before doing a key's usual action, and for its menu.
class StickyTextViewDelegate {
public:
    enum class Command { Cancel, InsertTab, InsertBacktab, InsertNewline };

    virtual ~StickyTextViewDelegate() = default;
    // True when the editor handled the key; false lets the text view act as usual.
    virtual bool doCommand(Command command) = 0;
    // Ctrl+B, Ctrl+I, Ctrl+U: the editor's formatting commands. True when handled.
    virtual bool doShortcut(const QKeyCombination& key) = 0;
    // The menu for a right-click at a character; `defaultMenu` is the view's own.
    virtual QMenu* contextMenu(QMenu* defaultMenu, int characterIndex) = 0;
};

// The editor's text view: a rich-text edit on a clear background that routes Escape, Tab,
// Backtab and Return to its delegate first, and takes from a paste or drop only what a note
// can hold (text, character and paragraph formatting, tables; never images).
class StickyTextView : public QTextEdit {
    Q_OBJECT
public:
    explicit StickyTextView(QWidget* parent = nullptr);

    void setDelegate(StickyTextViewDelegate* delegate) { m_delegate = delegate; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;

private:
    void insertKept(const QMimeData* source);

    StickyTextViewDelegate* m_delegate = nullptr;
};

} // namespace norvelle
