#pragma once

#include "editor/TextStorage.h"

#include <QColor>

#include <optional>

namespace norvelle {

// Checklist items in the editor's text: a line that starts with a drawn box and one space. In
// stored and plain text the box is a token ("○ ", "● "), or U+FFFC and a space in older text;
// normalising turns every such line start into a drawn box.
class ChecklistEditing {
public:
    // `textColor` is what item text is reset to whenever a box is set on its line.
    explicit ChecklistEditing(TextStorage& storage, QColor textColor = {}, QColor boxColor = {})
        : m_storage(storage)
        , m_textColor(std::move(textColor))
        , m_boxColor(std::move(boxColor))
    {
    }

    // The box of the line starting at `start`: none when the line has none.
    std::optional<bool> checklistMarkerState(int start, int length) const;
    // Where text typed at `position` goes when that is on a line's box or between the box and
    // its space: just after the space. None elsewhere.
    std::optional<int> itemTextStart(int position) const;
    enum class ItemText { Reset,
        Kept };
    // Puts a drawn box at the start of a line (`lineLength` without its line break), replacing
    // the box or token there; the item text becomes 14-point regular text without strikethrough
    // unless it is kept.
    void setChecklistMarker(int start, int lineLength, bool checked, ItemText itemText = ItemText::Reset);
    // Every token, lone U+FFFC or foreign attachment at a line start becomes a drawn box; the
    // item text keeps its formatting. Returns whether anything changed.
    bool normalizeChecklistMarkers();
    // Whether normalising would change anything on the lines `changed` touches (all lines when
    // none): one look per line.
    bool needsNormalizing(std::optional<TextRange> changed = std::nullopt) const;
    // Makes every selected line an item; returns the caret position after the block.
    int markSelectedLinesAsChecklist(TextRange selection);
    // The command: on a selection marks its lines, on a caret adds or flips the line's box.
    // Returns the new caret, or none to leave it.
    std::optional<int> insertChecklist(TextRange selection);

    QTextCharFormat itemTextFormat() const;

private:
    enum class LineStart { Nothing,
        Box,
        Token,
        CheckedToken,
        LegacyToken,
        LoneObject,
        OtherAttachment };
    LineStart lineStart(int start) const;
    static LineStart formatLineStart(const QTextCharFormat& format);
    static LineStart textLineStart(QStringView head);

    TextStorage& m_storage;
    QColor m_textColor;
    QColor m_boxColor;
};

} // namespace norvelle
