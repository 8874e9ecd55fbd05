#pragma once

#include "editor/NoteEncoder.h"
#include "editor/StickyTextView.h"
#include "editor/TextStorage.h"
#include "platform/NotificationCenter.h"

#include <QColor>
#include <QObject>
#include <QPointer>

#include <functional>
#include <memory>
#include <optional>

class QTextDocument;
class QTextTable;

namespace norvelle {

class RichTextEditor;

// The heart of an editor: loads a note into the text view, turns every edit into the rich body
// and the plain text (in that order), keeps checklist boxes drawn, runs the editor commands
// meant for its editor, routes the special keys, and reports the formatting state at the caret.
class RichTextEditorCoordinator : public QObject, public StickyTextViewDelegate {
    Q_OBJECT
public:
    // The colour of default text in the document: none. The view draws it in the paper's ink
    // (its palette's text colour), so a new paper or theme changes no character.
    static inline const QColor paperInk {};

    explicit RichTextEditorCoordinator(RichTextEditor& parent);
    ~RichTextEditorCoordinator() override;

    // Registers for the command notifications and the text view's changes.
    void observeEditorCommands(StickyTextView& textView);
    // Replaces what is shown: the rich body when it decodes to `text`, else `text` itself.
    void loadContent(const QString& text, const std::optional<QByteArray>& richData);

    void applyDefaultTextColor(const QColor& color);
    const std::optional<QColor>& appliedDefaultTextColor() const { return m_appliedDefaultTextColor; }
    void applySelectionColors();
    void refreshTableAppearance();

    // Normalises the checklist boxes and reports the formatting state at once; the edit itself
    // is reported once the event loop is free (flushReport).
    void textDidChange();
    // Reports an edit not yet reported now: the body first, then the plain text.
    void flushReport();
    void selectionDidChange();
    void broadcastFormattingState();

    void insertChecklist();

    enum class FontTrait { Bold,
        Italic };
    void applyFontSize(qreal size);
    void applyTextStyle(qreal size, int weight);
    void applyMonospacedStyle(qreal size);
    void applyTextColor(const QColor& color);
    void toggleFontTrait(FontTrait trait);
    enum class LineStyle { Underline,
        Strikethrough };
    // The first selected character decides for the whole selection.
    void toggleLineStyle(LineStyle style);
    void toggleHighlight();
    void storeHighlightColor(const QColor& color) { m_currentHighlightColor = color; }
    void applyAlignment(const QString& name);
    void setListStyle(const QString& style);
    void toggleQuote();

    void insertTable();
    // The table menu for a right-click in a cell; the view's own menu elsewhere.
    QMenu* tableContextMenu(QMenu* defaultMenu, int characterIndex);

    // Whether a notification is meant for this editor (its own, or no object and its window active).
    bool accepts(const Notification& notification) const;

    bool doCommand(Command command) override;
    bool doShortcut(const QKeyCombination& key) override;
    QMenu* contextMenu(QMenu* defaultMenu, int characterIndex) override;
    void setReportingPaused(bool paused) override;
    void adoptText(QTextDocument& text) override;
    std::optional<TextRange> typingRange(int position) override;

private:
    TextRange selection() const;
    // With a selection the attributes go to the selected text, else to the typing attributes.
    void applyCharacterFormat(const QTextCharFormat& format);
    // Runs a change to the text as one undoable step; the body returns where the caret goes
    // (none leaves it). Ends with the text-change handling when the text changed, else with
    // the formatting-state broadcast.
    void commitEdit(const std::function<std::optional<int>(TextStorage&)>& body);
    void contentsChanged();
    void scheduleReport();
    bool handleChecklistReturn(TextStorage& storage, TextRange line);
    bool highlightActiveAtCaret() const;
    QTextCharFormat typingAttributes() const;
    void setTypingAttributes(const QTextCharFormat& format);
    void installDocument(std::unique_ptr<QTextDocument> document);
    // A run too long to wrap at word boundaries, typed or pasted around `position`, makes the
    // view wrap anywhere from then on.
    void wrapAnywhereAfterLongRun(int position, int added);
    // A text laid out left to right has each paragraph find its own direction again once a
    // right-to-left letter is typed or pasted around `position`.
    void findParagraphDirectionsAfterRightToLeft(int position, int added);
    QColor checklistMarkerColor() const;
    // Runs a table operation on the menu's table as one edit; it returns the caret.
    void tableMenuAction(const std::function<std::optional<int>(class TableEditing&, QTextTable*)>& action);

    RichTextEditor& m_parent;
    QPointer<StickyTextView> m_textView;
    QColor m_currentHighlightColor {0xFF, 0xFF, 0x00};
    std::optional<QColor> m_appliedDefaultTextColor;
    bool m_isNormalizingChecklist = false;
    int m_suppressChanges = 0;
    bool m_changedWhileSuppressed = false;
    bool m_contentsChanged = false;
    bool m_reportPending = false;
    std::vector<NotificationCenter::Token> m_observers;
    std::unique_ptr<NoteEncoder> m_encoder;
    // What changed since the checklist boxes were last looked at.
    std::optional<TextRange> m_unnormalizedLines;
    QPointer<QTextTable> m_contextMenuTable;
    int m_contextMenuRow = 0;
    int m_contextMenuColumn = 0;
};

} // namespace norvelle
