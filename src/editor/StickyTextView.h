#pragma once

#include "editor/TableGrid.h"
#include "editor/TextStorage.h"

#include <QPointer>
#include <QTextEdit>
#include <QTextTable>

#include <functional>
#include <optional>
#include <vector>

namespace norvelle {

// What the text view asks of its editor before doing a key's usual action, and for its menu.
class StickyTextViewDelegate {
public:
    enum class Command { Cancel,
        InsertTab,
        InsertBacktab,
        InsertNewline };

    virtual ~StickyTextViewDelegate() = default;
    // True when the editor handled the key; false lets the text view act as usual.
    virtual bool doCommand(Command command) = 0;
    // Ctrl+B, Ctrl+I, Ctrl+U: the editor's formatting commands. True when handled.
    virtual bool doShortcut(const QKeyCombination& key) = 0;
    // The menu for a right-click at a character; `defaultMenu` is the view's own.
    virtual QMenu* contextMenu(QMenu* defaultMenu, int characterIndex) = 0;
    // While a column border is dragged the edits are reported once, when it is let go.
    virtual void setReportingPaused(bool paused) = 0;
    // Gives a text coming into the note, opened or pasted, the note's own colours and tables.
    virtual void adoptText(QTextDocument& text) = 0;
    // What a character typed at `position` (nothing selected) replaces: past a checklist box,
    // over an empty cell's placeholder. None types at `position`.
    virtual std::optional<TextRange> typingRange(int position) = 0;
};

// The editor's text view: a rich-text edit on a clear background that routes Escape, Tab,
// Backtab and Return to its delegate first, and takes from a paste or drop only what a note
// can hold (text, character and paragraph formatting, tables; never images, which it says). A click on a
// checklist box ticks or opens it; dragging the border between two table columns resizes them.
class StickyTextView : public QTextEdit {
    Q_OBJECT
public:
    explicit StickyTextView(QWidget* parent = nullptr);

    // The notice that an image pasted alone was not taken.
    static inline const QString imagePasteTopic = QStringLiteral("imagePaste");
    static constexpr qreal borderGrabTolerance = 8;
    static constexpr qreal minimumColumnPercent = 8;

    void setDelegate(StickyTextViewDelegate* delegate) { m_delegate = delegate; }
    // What a checklist line's text becomes after its box is clicked.
    void setChecklistBaseTextColor(const QColor& color) { m_checklistBaseTextColor = color; }
    // Draws the scroll bar as a thin bar in the text's colour, faint, on no track of its own.
    void setScrollBarInk(const QColor& ink);
    // The colours tables are drawn in: the paper's, never stored in the note.
    void setTableColors(const TableGrid::Colors& colors);

    struct ColumnBorder {
        QTextTable* table;
        int index; // between columns index and index + 1
    };
    // The column border within the grab tolerance of a point in the viewport, if any.
    std::optional<ColumnBorder> hitTestColumnBorder(const QPoint& point) const;

    // Lays its text out once shown, at the width it shows at, instead of now (see below).
    void layOutWhenShown();
    // Wraps a text that would be too tall for the layout at a wider width (see below).
    void keepLayoutWithinReach();
    // Wraps lines anywhere, for a text holding a long run with no place to break a line.
    void wrapAnywhere();

    // Undo or redo, leaving the view on the text that changed.
    void undoInPlace();
    void redoInPlace();

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool canInsertFromMimeData(const QMimeData* source) const override;
    void insertFromMimeData(const QMimeData* source) override;
    QMimeData* createMimeDataFromSelection() const override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void handleKey(QKeyEvent* event);
    // A typed character goes after a checklist box, and in place of an empty cell's placeholder.
    void placeCaretForTyping(const QKeyEvent& event);
    // After Home or Ctrl+Home: off a checklist box, onto the item's text.
    void stepPastChecklistBox();
    bool editAtDisplayBreak(QKeyEvent* event);
    // The caret after the inserted text, none when nothing was inserted.
    std::optional<QTextCursor> insertKept(const QMimeData* source);
    QTextCursor insertDocument(QTextDocument& kept);
    QTextCursor insertPasted(const std::function<void(QTextCursor&)>& insert, qsizetype size);
    void holdCaretBlinkUntilLaidOut();
    void revealCaretOnceLaidOut();
    // A layout of no page size is given the width the text shows at.
    void layOutAtShownWidth();
    // Makes the paste under way leave a table it brings to be laid out by layOutPastedTable.
    void layOutTableAfterPaste();
    void layOutPastedTable();
    void wrapAnywhereFor(QStringView pasted);
    bool toggleChecklistMarker(const QPoint& point);
    QPointF documentPoint(const QPoint& point) const;
    void dragColumnBorder(qreal x);
    void keepChangedTextInView(const std::function<void()>& step);
    void refreshHighlightInk();

    StickyTextViewDelegate* m_delegate = nullptr;
    QColor m_checklistBaseTextColor = palette().color(QPalette::Text);
    TableGrid::Colors m_tableColors;
    bool m_pastedTableAwaitsLayout = false;
    QPointer<QTextTable> m_resizeTable;
    int m_resizingColumn = -1;
    qreal m_resizeStartX = 0;
    std::vector<qreal> m_resizeInitialWidths;
    bool m_resizeStepped = false;
};

} // namespace norvelle
