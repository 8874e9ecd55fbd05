#pragma once

#include "objectstore/ObjectID.h"

#include <QByteArray>
#include <QCollator>
#include <QList>
#include <QString>
#include <QVariant>

#include <limits>
#include <optional>
#include <vector>

namespace norvelle {

// One note as the workspace lists, searches, sorts and draws it, worked out once each time the
// note changes so that a keystroke in the search field, a new sort order or a scrolled frame
// reads ready values. It holds no note: the rich body is read only when a note is acted on, and
// the words of the text only when the note is first drawn or searched.
class WorkspaceNoteEntry {
public:
    // A missing date, earlier than any other.
    static constexpr qint64 distantPast = std::numeric_limits<qint64>::min();

    // What the title and text give.
    struct Words {
        Words(const QString& title, const QString& plainText);
        // In search form.
        QByteArray searchTitle;
        QByteArray searchText;
        QString previewLine;
    };

    // The note attributes an entry is made of, in the order its values are given; the plain
    // text is not among them.
    static const std::vector<int>& attributes();
    // `plainText` counts only when the title is blank: the display title comes from the text then.
    WorkspaceNoteEntry(const ObjectID& id, const QList<QVariant>& values, const QString& plainText,
        const QCollator& titleCollator);
    static bool hasBlankTitle(const QList<QVariant>& values);

    // Lower case in NFC, as UTF-8: what a search looks in and for.
    static QByteArray searchForm(const QString& text);

    const ObjectID id;
    // The absolute string of the note's object URI: its key everywhere.
    QString identity() const { return id.uriString(); }
    // Milliseconds since the epoch, or distantPast.
    const qint64 updatedAt;
    const qint64 createdAt;
    const qint64 deletedAt;
    const bool isTrashed;
    const bool isPinned;
    const bool isArchived;
    // The trimmed workspaceId in lower case; "inbox" when it is blank or missing.
    const QString folderKey;
    const QString displayTitle;
    const QCollatorSortKey titleSortKey;
    // The paper as stored: null when the note has none.
    const QString paperColor;
    const QString textureName;
    const double opacity;

    // Null until given.
    const Words* words() const { return m_words ? &*m_words : nullptr; }
    void setWords(const QString& title, const QString& plainText) const { m_words.emplace(title, plainText); }
    // The line drawn under the title: from the words once given, else from setPreviewLine;
    // null until one of them. A note is drawn long before a search needs its words.
    const QString* previewLine() const { return m_words ? &m_words->previewLine : m_previewLine ? &*m_previewLine
                                                                                                : nullptr; }
    void setPreviewLine(const QString& line) const { m_previewLine = line; }

private:
    mutable std::optional<Words> m_words;
    mutable std::optional<QString> m_previewLine;
};

} // namespace norvelle
