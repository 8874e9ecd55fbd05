#pragma once

#include <QHash>
#include <QString>

namespace norvelle {

// The searchable text of the notes created in this run, in memory only. Nothing reads it yet:
// the workspace searches the store itself. Main thread only.
class SearchIndexService {
public:
    static SearchIndexService& shared();

    // Note UUID (upper-case 8-4-4-4-12) to its lower-cased title, a line feed and its text.
    QHash<QString, QString> index;
};

} // namespace norvelle
