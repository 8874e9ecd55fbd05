#include "workspace/WorkspaceNoteEntry.h"

#include "store/StickyNote.h"
#include "workspace/NoteDisplayText.h"

#include <QDateTime>

#include <string>

namespace norvelle {

namespace {

enum Value { Title,
    UpdatedAt,
    CreatedAt,
    DeletedAt,
    IsPinned,
    IsArchived,
    WorkspaceId,
    PaperColor,
    TextureName,
    Opacity };

qint64 milliseconds(const QVariant& date)
{
    const QDateTime time = date.toDateTime();
    return time.isValid() ? time.toMSecsSinceEpoch() : WorkspaceNoteEntry::distantPast;
}

QString folderKeyOf(const QString& workspaceId)
{
    const QString trimmed = workspaceId.trimmed();
    return trimmed.isEmpty() ? QStringLiteral("inbox") : trimmed.toLower();
}

} // namespace

const std::vector<int>& WorkspaceNoteEntry::attributes()
{
    static const std::vector<int> attributes {StickyNote::Title, StickyNote::UpdatedAt, StickyNote::CreatedAt,
        StickyNote::DeletedAt, StickyNote::IsPinned, StickyNote::IsArchived,
        StickyNote::WorkspaceId, StickyNote::PaperColor, StickyNote::TextureName,
        StickyNote::Opacity};
    return attributes;
}

bool WorkspaceNoteEntry::hasBlankTitle(const QList<QVariant>& values)
{
    return values[Title].toString().trimmed().isEmpty();
}

WorkspaceNoteEntry::Words::Words(const QString& title, const QString& plainText)
    : searchTitle(searchForm(title))
    , searchText(searchForm(plainText))
    , previewLine(norvelle::previewLine(title, plainText))
{
}

WorkspaceNoteEntry::WorkspaceNoteEntry(const ObjectID& objectID, const QList<QVariant>& values, const QString& plainText,
    const QCollator& titleCollator)
    : id(objectID)
    , updatedAt(milliseconds(values[UpdatedAt]))
    , createdAt(milliseconds(values[CreatedAt]))
    , deletedAt(milliseconds(values[DeletedAt]))
    , isTrashed(deletedAt != distantPast)
    , isPinned(values[IsPinned].toBool())
    , isArchived(values[IsArchived].toBool())
    , folderKey(folderKeyOf(values[WorkspaceId].toString()))
    , displayTitle(norvelle::displayTitle(values[Title].toString(), plainText))
    , titleSortKey(titleCollator.sortKey(displayTitle))
    , paperColor(values[PaperColor].toString())
    , textureName(values[TextureName].toString())
    , opacity(values[Opacity].toDouble())
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

} // namespace norvelle
