#include "store/PersistenceController.h"

#include "platform/AppPaths.h"
#include "platform/SystemLog.h"
#include "store/ClipItem.h"
#include "store/StickyNote.h"

#include <cstdio>
#include <cstdlib>

namespace norvelle {

namespace {

const SystemLog& logger()
{
    static const SystemLog log(QStringLiteral("store"));
    return log;
}

[[noreturn]] void stopWithFatalError(const QString& message)
{
    logger().fault(message);
    std::fprintf(stderr, "%s\n", message.toUtf8().constData());
    std::fflush(stderr);
    std::abort();
}

std::unique_ptr<ObjectStore> openStore(const QString& path, std::optional<ObjectStoreError>& error)
{
    if (path != ObjectStore::inMemoryPath && !AppPaths::ensureDirectory(PersistenceController::storeDirectory())) {
        error = ObjectStoreError(ObjectStoreError::Code::CannotOpen,
            QStringLiteral("The folder %1 cannot be created").arg(PersistenceController::storeDirectory()));
        return nullptr;
    }
    return ObjectStore::open(path, PersistenceController::model(), error);
}

} // namespace

PersistenceController& PersistenceController::shared()
{
    static PersistenceController controller(false);
    return controller;
}

PersistenceController::PersistenceController(bool inMemory)
{
    const QString path = inMemory ? ObjectStore::inMemoryPath : storePath();
    if (!inMemory) {
        ObjectStore::moveStrayCompanionsAside(path, &m_companionsSetAside);
    }
    if (!m_companionsSetAside.isEmpty()) {
        logger().error(QStringLiteral("Files beside the note store that were not regular files were moved aside to: ")
            + m_companionsSetAside.join(", "));
    }
    std::optional<ObjectStoreError> error;
    m_container = openStore(path, error);
    if (m_container) {
        return;
    }
    if (inMemory) {
        m_loadError = error;
        logger().fault(QStringLiteral("The note store in memory cannot be loaded: ") + error->localizedDescription());
        return;
    }
    logger().error(QStringLiteral("The note store cannot be loaded: ") + error->localizedDescription());
    // Only a file that is unusable in itself makes way for an empty store, and its notes stay
    // in the files set aside for a recovery. A store that is locked, read-only or on a full
    // disk is left where it is: an empty store in its place would hide every note.
    if (error->isUnusableFile()) {
        ObjectStore::moveFilesAside(path, &m_filesSetAside);
        logger().error(QStringLiteral("The note store files were moved aside to: ") + m_filesSetAside.join(", "));
    }
    m_container = openStore(path, error);
    if (!m_container) {
        m_loadError = error;
        logger().fault(QStringLiteral("The note store cannot be opened: ") + error->localizedDescription());
    }
}

ObjectStore& PersistenceController::container()
{
    if (!m_container) {
        // The launch stops before anything reads an unopened store: reaching here is a fault.
        stopWithFatalError(QStringLiteral("The note store was used although it could not be opened: ")
            + m_loadError->localizedDescription());
    }
    return *m_container;
}

PersistenceController::~PersistenceController() = default;

void PersistenceController::save()
{
    if (!viewContext().hasChanges()) {
        return;
    }
    if (std::optional<ObjectStoreError> error = viewContext().save()) {
        logger().error(QStringLiteral("The notes could not be saved: ") + error->localizedDescription());
    }
}

const ObjectModel& PersistenceController::model()
{
    static const ObjectModel model {QStringLiteral("Norvelle"), {&StickyNote::entity(), &ClipItem::entity()}};
    return model;
}

QString PersistenceController::storeDirectory()
{
    return AppPaths::applicationSupportDirectory() + QStringLiteral("/Norvelle");
}

QString PersistenceController::storePath()
{
    return storeDirectory() + QStringLiteral("/Norvelle.sqlite");
}

} // namespace norvelle
