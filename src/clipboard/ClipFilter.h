#pragma once

#include "clipboard/ClipEntry.h"

#include <QHash>
#include <QList>
#include <QUuid>

namespace norvelle {

// The search of the clip views. A query is trimmed and lower-cased; a blank one keeps every
// clip. Otherwise a clip stays when its display title, its full text or its source application
// contains the query, so "image" finds images without text. Order is kept.
class ClipFilter {
public:
    QList<ClipEntry> filtered(const QList<ClipEntry>& items, const QString& searchText);

    static QString foldedQuery(const QString& searchText);
    // What a search without results says; it quotes the search as typed.
    static QString noMatchMessage(const QString& searchText);

private:
    struct Folded {
        QString title;
        QString text;
        QString source;
    };
    const Folded& folded(const ClipEntry& entry);

    // Clips never change, so each one's folded texts are made once.
    QHash<QUuid, Folded> m_folded;
};

} // namespace norvelle
