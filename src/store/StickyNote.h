#pragma once

// A note of the note database. Every read and write goes through the view context, on the
// main thread:
//
//     ObjectContext& context = PersistenceController::shared().viewContext();
//     std::shared_ptr<StickyNote> note = StickyNote::insert(context);
//     note->setId(QUuid::createUuid());
//     note->setTitle("Groceries");
//     context.save();                                   // or PersistenceController::save()
//     const QString key = note->objectID().uriString(); // the note's key, fixed at insert
//     auto same = context.existingObject<StickyNote>(key);
//     auto notes = context.fetch(StickyNote::fetchRequestNewestFirst());
//     context.deleteObject(note);
//
// Absent values read as the empty value of their type: a null QString, an invalid QDateTime,
// an empty QByteArray, 0, false; setting a null QString or an invalid QDateTime makes the
// value absent again. Setters only change the object; nothing is stored before a save.

#include "objectstore/FetchRequest.h"
#include "objectstore/ManagedObject.h"

#include <memory>
#include <optional>

namespace norvelle {

class ObjectContext;

class StickyNote : public ManagedObject {
public:
    // The attributes in their declaration order.
    enum Attribute {
        Id,
        CreatedAt,
        Title,
        PaperColor,
        TextureName,
        Content,
        PlainText,
        UpdatedAt,
        Version,
        LastSyncedVersion,
        UpdatedBy,
        OwnerId,
        WorkspaceId,
        Permissions,
        ShareToken,
        SharePreviewURL,
        IsPinned,
        IsArchived,
        IsWindowOpen,
        DeletedAt,
        Opacity,
    };

    explicit StickyNote(const EntityDescription& entity)
        : ManagedObject(entity)
    {
    }

    // The entity "StickyNote".
    static const EntityDescription& entity();
    // Inserts a new note into `context` (not pinned, not archived, version 0, opacity 1).
    static std::shared_ptr<StickyNote> insert(ObjectContext& context);
    // Every note, in no particular order.
    static TypedFetchRequest<StickyNote> fetchRequest();
    // Every note, most recently changed first, then most recently created.
    static TypedFetchRequest<StickyNote> fetchRequestNewestFirst();
    // Every note without a title (or with one of white space only), a change time or a
    // version: what the launch repairs. The store keeps an index of them, so reading them
    // costs nothing for the notes that are complete.
    static TypedFetchRequest<StickyNote> fetchRequestIncomplete();

    std::optional<QUuid> id() const { return uuidValue(Id); }
    void setId(const std::optional<QUuid>& id) { setValue(Id, id ? QVariant(*id) : QVariant()); }
    QDateTime createdAt() const { return dateValue(CreatedAt); }
    void setCreatedAt(const QDateTime& date) { setValue(CreatedAt, date); }
    QString title() const { return stringValue(Title); }
    void setTitle(const QString& title) { setValue(Title, title); }
    QString paperColor() const { return stringValue(PaperColor); }
    void setPaperColor(const QString& color) { setValue(PaperColor, color); }
    QString textureName() const { return stringValue(TextureName); }
    void setTextureName(const QString& name) { setValue(TextureName, name); }
    // The rich body as stored (an RTF document).
    QByteArray content() const { return dataValue(Content); }
    void setContent(const QByteArray& content) { setValue(Content, content); }
    QString plainText() const { return stringValue(PlainText); }
    // The start of the plain text, read no further than it goes (see ManagedObject::leadingText).
    QString leadingPlainText(qsizetype length) const { return leadingText(PlainText, length); }
    void setPlainText(const QString& text) { setValue(PlainText, text); }
    QDateTime updatedAt() const { return dateValue(UpdatedAt); }
    void setUpdatedAt(const QDateTime& date) { setValue(UpdatedAt, date); }
    qint64 version() const { return integerValue(Version); }
    void setVersion(qint64 version) { setValue(Version, version); }
    qint64 lastSyncedVersion() const { return integerValue(LastSyncedVersion); }
    void setLastSyncedVersion(qint64 version) { setValue(LastSyncedVersion, version); }
    QString updatedBy() const { return stringValue(UpdatedBy); }
    void setUpdatedBy(const QString& author) { setValue(UpdatedBy, author); }
    QString ownerId() const { return stringValue(OwnerId); }
    void setOwnerId(const QString& owner) { setValue(OwnerId, owner); }
    QString workspaceId() const { return stringValue(WorkspaceId); }
    void setWorkspaceId(const QString& slug) { setValue(WorkspaceId, slug); }
    QString permissions() const { return stringValue(Permissions); }
    void setPermissions(const QString& permissions) { setValue(Permissions, permissions); }
    QString shareToken() const { return stringValue(ShareToken); }
    void setShareToken(const QString& token) { setValue(ShareToken, token); }
    QString sharePreviewURL() const { return stringValue(SharePreviewURL); }
    void setSharePreviewURL(const QString& url) { setValue(SharePreviewURL, url); }
    bool isPinned() const { return boolValue(IsPinned); }
    void setIsPinned(bool pinned) { setValue(IsPinned, pinned); }
    bool isArchived() const { return boolValue(IsArchived); }
    void setIsArchived(bool archived) { setValue(IsArchived, archived); }
    bool isWindowOpen() const { return boolValue(IsWindowOpen); }
    void setIsWindowOpen(bool open) { setValue(IsWindowOpen, open); }
    // Set exactly while the note is in the Trash.
    QDateTime deletedAt() const { return dateValue(DeletedAt); }
    void setDeletedAt(const QDateTime& date) { setValue(DeletedAt, date); }
    double opacity() const { return doubleValue(Opacity); }
    void setOpacity(double opacity) { setValue(Opacity, opacity); }
};

} // namespace norvelle
