#include "workspace/WorkspaceNoteEntry.h"

#include "store/StickyNote.h"
#include "workspace/NoteDisplayText.h"

#include <string>

namespace norvelle {

namespace {

qint64 milliseconds(const QDateTime& date)
{
    return date.isValid() ? date.toMSecsSinceEpoch() : WorkspaceNoteEntry::distantPast;
}

QString folderKeyOf(const QString& workspaceId)
{
    const QString trimmed = workspaceId.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("inbox") : trimmed.toLower();
}

} // namespace

WorkspaceNoteEntry::WorkspaceNoteEntry(std::shared_ptr<StickyNote> stickyNote, const QCollator& titleCollator)
    : note(std::move(stickyNote))
    , identity(note->objectID().uriString())
    , rowID(note->objectID().rowID())
    , updatedAt(milliseconds(note->updatedAt()))
    , createdAt(milliseconds(note->createdAt()))
    , deletedAt(milliseconds(note->deletedAt()))
    , isTrashed(note->deletedAt().isValid())
    , isPinned(note->isPinned())
    , isArchived(note->isArchived())
    , folderKey(folderKeyOf(note->workspaceId()))
    , searchTitle(searchForm(note->title()))
    , searchText(searchForm(note->plainText()))
    , displayTitle(norvelle::displayTitle(*note))
    , titleSortKey(titleCollator.sortKey(displayTitle))
{
}

QByteArray WorkspaceNoteEntry::searchForm(const QString& text)
{
    // Below U+0300 every character is already in NFC and lower-cases to one character below
    // U+0300 (but for U+0130): most notes are folded in one pass into one exact allocation.
    static thread_local std::string scratch;
    scratch.resize(size_t(text.size()) * 2);
    char* out = scratch.data();
    for (const QChar c : text) {
        const char16_t unit = c.toLower().unicode();
        if (unit >= 0x300 || c.unicode() == 0x130) {
            QByteArray folded = text.toLower().normalized(QString::NormalizationForm_C).toUtf8();
            folded.squeeze();
            return folded;
        }
        if (unit < 0x80) {
            *out++ = char(unit);
        } else {
            *out++ = char(0xC0 | (unit >> 6));
            *out++ = char(0x80 | (unit & 0x3F));
        }
    }
    return QByteArray(scratch.data(), out - scratch.data());
}

const QString& WorkspaceNoteEntry::previewLine() const
{
    if (!m_previewLine) {
        m_previewLine = norvelle::previewLine(*note);
    }
    return *m_previewLine;
}

} // namespace norvelle
