#pragma once

#include "workspace/NoteCellState.h"
#include "workspace/NotePaper.h"
#include "workspace/WrappedText.h"

#include <QRectF>
#include <QString>

class QPainter;

namespace norvelle {

class WorkspaceNoteEntry;

// A note as a card of the workspace grid: its display title on up to two lines, up to three
// lines of preview, the date of its last change, all on its paper and texture, with a violet
// outline and a star when pinned, a trash badge in the Trash and a check in bulk mode. The
// card lifts by 3 points under the pointer.
class NoteCard {
public:
    static constexpr qreal minimumHeight = 150;
    static constexpr qreal minimumWidth = 200;
    static constexpr qreal cornerRadius = 14;

    // What a card of one width shows, worked out once for all the frames that draw it. The
    // title's first line keeps clear of the corner badge and, in bulk mode, of the check.
    struct Layout {
        Layout(const WorkspaceNoteEntry& note, const QString& previewLine, qreal cardWidth, bool bulkMode);
        qreal cardWidth;
        bool bulkMode;
        NotePaper paper;
        WrappedText title;
        bool hasPreview;
        WrappedText preview;
        QString date;
    };

    static void paint(QPainter& painter, const QRectF& rect, const WorkspaceNoteEntry& note, const Layout& layout,
        const NoteCellState& state);
    // The bulk check's area within a card at `rect` (clicks on it toggle, as on the card).
    static QRectF checkRect(const QRectF& rect);
    // "Click to select", "Double-click to restore and open" or "Double-click to open sticky".
    static QString toolTip(const NoteCellState& state);
    // The date shown: last change, else creation, else now, in the locale's short form.
    static QString dateText(const WorkspaceNoteEntry& note);
};

} // namespace norvelle
