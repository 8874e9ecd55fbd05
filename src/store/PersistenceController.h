#pragma once

// The note database: one store, loaded once, read and written through its view context on
// the main thread.
//
//     ObjectContext& context = PersistenceController::shared().viewContext();
//     auto notes = context.fetch(StickyNote::fetchRequestNewestFirst());
//     notes.front()->setIsPinned(true);
//     PersistenceController::shared().save();   // quiet; context.save() returns the error
//
// Tests and previews build their own with PersistenceController(true): a store in memory
// that never touches the disk.

#include "objectstore/ObjectContext.h"
#include "objectstore/ObjectStore.h"
#include "objectstore/ObjectStoreError.h"

#include <QStringList>

#include <memory>
#include <optional>

namespace norvelle {

class PersistenceController {
public:
    // The process's controller, loading the store on first use.
    static PersistenceController& shared();

    // Loads the store at storePath(), or one in memory. A -wal or -shm beside it that is not a
    // regular file is moved aside first, and the store opens without it. A store file that is
    // damaged, of an incompatible model or of another program is moved aside with its companions
    // and an empty store is loaded. Nothing is deleted. Any other failure (locked, read-only,
    // full, a companion this user may not read and write) is tried once more and leaves the
    // files as they are. When the second load fails too, loadError() says why and the controller
    // must not be used.
    explicit PersistenceController(bool inMemory = false);
    ~PersistenceController();
    PersistenceController(const PersistenceController&) = delete;
    PersistenceController& operator=(const PersistenceController&) = delete;

    // Why the store could not be loaded (none when it is ready).
    const std::optional<ObjectStoreError>& loadError() const { return m_loadError; }

    // The container named "Norvelle".
    ObjectStore& container();
    ObjectContext& viewContext() { return container().viewContext(); }

    // Saves the view context when it has changes. A failure is logged only; the changes stay
    // in the context for the next save.
    void save();

    // Where the files a failed load moved aside went (empty when the store loaded at once).
    QStringList filesSetAside() const { return m_filesSetAside; }
    // Where a -wal or -shm that was not a regular file went; the store opened as it was.
    QStringList companionsSetAside() const { return m_companionsSetAside; }

    // The model: the entities "StickyNote" and "ClipItem".
    static const ObjectModel& model();
    // The "Norvelle" folder in the data folder, and the store file in it.
    static QString storeDirectory();
    static QString storePath();

private:
    std::unique_ptr<ObjectStore> m_container;
    QStringList m_filesSetAside;
    QStringList m_companionsSetAside;
    std::optional<ObjectStoreError> m_loadError;
};

} // namespace norvelle
