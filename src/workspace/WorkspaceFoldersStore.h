#pragma once

#include <QHash>
#include <QList>
#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace norvelle {

// The folders notes are filed in. A folder is only a slug, written into a note's workspaceId:
// five are built in ("all" meaning no folder filter), the user adds more by name. The user's
// folders live in the user's defaults as JSON (storedSettings::workspaceUserFoldersKey). Main thread only.
//
//     auto slug = WorkspaceFoldersStore::shared().addFolder("Reading List"); // "reading-list"
class WorkspaceFoldersStore : public QObject {
    Q_OBJECT
public:
    struct UserFolder {
        QString slug;
        QString displayName;
        bool operator==(const UserFolder&) const = default;
    };
    struct BuiltInFolder {
        const char* slug;
        const char* displayName;
    };

    // The process's store, loaded on first use.
    static WorkspaceFoldersStore& shared();
    // "all", "inbox", "work", "personal", "ideas" with their names.
    static const QList<BuiltInFolder>& builtInFolders();

    // Loads the stored list.
    explicit WorkspaceFoldersStore(QObject* parent = nullptr);

    const QList<UserFolder>& userFolders() const { return m_userFolders; }

    // No stored value or one that does not decode gives no user folders; a folder without a
    // slug, with a built-in one or one taken before it is left out. The stored value is kept
    // aside in both cases once the list is next saved.
    void load();
    // Writes the list; a failed write is logged and the list stays in memory.
    void save();

    // Stores a folder named `name` (trimmed) under a slug no folder has yet and returns that
    // slug; nothing for a blank name.
    std::optional<QString> addFolder(const QString& name);

    // The built-in slugs, then the user's in the order they were added.
    QStringList allFolderSlugs() const;
    // "All folders" for "all", else the user's name, the built-in name or the slug in words.
    QString displayName(const QString& slug) const;

    // Lower case; letters, marks and digits kept; blanks, "-" and "_" become "-"; anything else
    // dropped; runs of dashes shortened; no dash at either end. May be empty.
    static QString makeSlug(const QString& trimmedName);

signals:
    void userFoldersChanged();

private:
    static bool isBuiltIn(const QString& slug);

    QList<UserFolder> m_userFolders;
    // The position of each user folder's slug in the list.
    QHash<QString, qsizetype> m_indexBySlug;
    // The stored value did not decode: keep a copy before overwriting it.
    bool m_storedValueUnreadable = false;
};

} // namespace norvelle
