#include "account/NotesSyncService.h"

#include "platform/UserDefaults.h"

namespace norvelle {

namespace {

bool storedAsFalse(const QVariant& value)
{
    switch (value.typeId()) {
    case QMetaType::Bool:
    case QMetaType::LongLong:
    case QMetaType::Double:
        return !value.toBool();
    default:
        return false;
    }
}

} // namespace

NotesSyncService& NotesSyncService::shared()
{
    static NotesSyncService service;
    return service;
}

void NotesSyncService::syncSharedIfEnabled()
{
    shared().syncNowIfEnabled();
}

void NotesSyncService::syncNowIfEnabled()
{
    if (storedAsFalse(UserDefaults::standard().object("norvelle.sync.enabled"))) {
        return;
    }
    syncNow();
}

} // namespace norvelle
