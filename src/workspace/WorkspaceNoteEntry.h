#pragma once

#include <QByteArray>
#include <QCollator>
#include <QString>

#include <limits>
#include <memory>
#include <optional>

namespace norvelle {

class StickyNote;

// One note as the workspace lists, searches and sorts it, worked out once each time the note
// changes so that a keystroke in the search field or a new sort order reads ready values.
class WorkspaceNoteEntry {
public:
    // A missing date, earlier than any other.
    static constexpr qint64 distantPast = std::numeric_limits<qint64>::min();

    WorkspaceNoteEntry(std::shared_ptr<StickyNote> note, const QCollator& titleCollator);

    // Lower case in NFC, as UTF-8: what a search looks in and for.
    static QByteArray searchForm(const QString& text);

    const std::shared_ptr<StickyNote> note;
    // The absolute string of the note's object URI: its key everywhere.
    const QString identity;
    const qint64 rowID;
    // Milliseconds since the epoch, or distantPast.
    const qint64 updatedAt;
    const qint64 createdAt;
    const qint64 deletedAt;
    const bool isTrashed;
    const bool isPinned;
    const bool isArchived;
    // The trimmed workspaceId in lower case; "inbox" when it is blank or missing.
    const QString folderKey;
    const QByteArray searchTitle;
    const QByteArray searchText;
    const QString displayTitle;
    const QCollatorSortKey titleSortKey;

    // The preview line, worked out when first drawn.
    const QString& previewLine() const;

private:
    mutable std::optional<QString> m_previewLine;
};

} // namespace norvelle
