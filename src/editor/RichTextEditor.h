#pragma once

#include <QByteArray>
#include <QColor>
#include <QString>
#include <QWidget>

#include <memory>
#include <optional>

namespace norvelle {

class RichTextEditorCoordinator;
class StickyTextView;

// A note's rich text on its paper: checklists, formatting, lists, quotes and tables, driven by
// the editor commands (EditorCommands.h) and reporting every edit.
//
//     auto* editor = new RichTextEditor(textColor, paperHex, parent);
//     editor->load(note.plainText(), note.content());          // once, when the note opens
//     connect(editor, &RichTextEditor::richDataChanged, ...);   // then, for the same edit,
//     connect(editor, &RichTextEditor::textChanged, ...);       // the plain text
//     editor->update(text, richData);     // the note changed from outside (sync, workspace)
//     editor->setAppearance(textColor, paperHex);             // paper or text colour changed
//     editor->takeUnreportedEdit();       // on close: an edit not reported yet, if any
//
// Every edit that changes the text (typing, paste, undo, every command) reports the rich body
// first (none for an empty text) and then the plain text, in which a checklist box reads as
// its token ("○ " open, "● " ticked), once the event loop is free: edits that come together are
// reported once. Commands posted with this editor as object act here only; commands posted with no
// object act on the editor of the active window. The formatting state at the caret is posted
// with this editor as object.
class RichTextEditor : public QWidget {
    Q_OBJECT
public:
    using Coordinator = RichTextEditorCoordinator;

    static constexpr int textInset = 12;
    static constexpr qreal defaultFontSize = 14;

    RichTextEditor(const QColor& textColor, const QString& paperHex, QWidget* parent = nullptr);
    ~RichTextEditor() override;

    // Shows a note: its rich body when that decodes to the same text as the plain text, else the
    // plain text (the plain text is the newer one when they differ).
    void load(const QString& text, const std::optional<QByteArray>& richData);
    // The note changed from outside: reloads only when the plain text differs from what is shown.
    void update(const QString& text, const std::optional<QByteArray>& richData);
    void setAppearance(const QColor& textColor, const QString& paperHex);

    // Edits are reported once the event loop is free, keys that arrive together in one report;
    // this reports a pending edit now (before the note is flushed or the window goes).
    void flushPendingReport();

    // What the last edit reported, or what loading showed.
    const QString& text() const { return m_text; }
    // The body of what is shown now (none for an empty text).
    std::optional<QByteArray> richData() const;

    struct Contents {
        std::optional<QByteArray> richData;
        QString text;
    };
    // The body and plain text of an edit made behind the editor's back and not reported yet;
    // none when what is shown is what was loaded or last reported. Taking it counts as its
    // report. Showing a note is no edit: a body that did not read back whole is never
    // replaced by this.
    std::optional<Contents> takeUnreportedEdit();
    const QColor& textColor() const { return m_textColor; }
    const QString& paperHex() const { return m_paperHex; }

    StickyTextView& textView() const { return *m_textView; }
    Coordinator& coordinator() const { return *m_coordinator; }

signals:
    void richDataChanged(const std::optional<QByteArray>& richData);
    void textChanged(const QString& text);
    // After every selection change: whether the caret is inside a table.
    void selectionTableStateChanged(bool inTable);

private:
    friend class RichTextEditorCoordinator;
    void writeBindings(const std::optional<QByteArray>& richData, const QString& text);

    QString m_text;
    std::optional<QByteArray> m_richData;
    QColor m_textColor;
    QString m_paperHex;
    StickyTextView* m_textView;
    std::unique_ptr<Coordinator> m_coordinator;
};

} // namespace norvelle
