#include "store/NoteSaveFailureNotice.h"

#include "objectstore/ObjectContext.h"
#include "platform/SystemLog.h"
#include "ui/UserNotice.h"

namespace norvelle {

NoteSaveFailureNotice::NoteSaveFailureNotice(ObjectContext& context, QObject* parent)
    : QObject(parent)
{
    connect(&context, &ObjectContext::saveFailed, this, &NoteSaveFailureNotice::saveFailed);
    connect(&context, &ObjectContext::didSave, this, [this] {
        if (m_told) {
            SystemLog(QStringLiteral("store")).notice(QStringLiteral("The notes are saved again"));
        }
        m_told = false;
    });
}

void NoteSaveFailureNotice::watch(ObjectContext& context)
{
    new NoteSaveFailureNotice(context, &context);
}

void NoteSaveFailureNotice::saveFailed(const QString& reason)
{
    if (m_told) {
        return;
    }
    m_told = true;
    SystemLog(QStringLiteral("store")).error(QStringLiteral("The notes could not be saved: ") + reason);
    UserNotice::warn(topic, QStringLiteral("Norvelle can't save your notes."),
                     reason + QStringLiteral(".\n\nWhat you write stays in its window, and Norvelle tries to save it "
                                             "again with your next change. Quitting now would lose what is not saved."));
}

} // namespace norvelle
