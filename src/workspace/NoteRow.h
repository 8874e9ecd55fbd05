#pragma once

#include "workspace/NoteCellState.h"

#include <QRectF>

class QPainter;

namespace norvelle {

class WorkspaceNoteEntry;

// A note as one 44-point line of the workspace list: the bulk check, a paper swatch, the
// display title over the preview, and the date of the last change at the end.
class NoteRow {
public:
    static constexpr qreal height = 44;

    static void paint(QPainter& painter, const QRectF& rect, const WorkspaceNoteEntry& note, const QString& previewLine,
        const NoteCellState& state);
    // The bulk check's area within a row at `rect`.
    static QRectF checkRect(const QRectF& rect);
};

} // namespace norvelle
