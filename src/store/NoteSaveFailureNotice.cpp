#include "store/NoteSaveFailureNotice.h"

#include "objectstore/ObjectContext.h"
#include "platform/SystemLog.h"
#include "ui/UserNotice.h"

namespace norvelle {

namespace {

void saveWhatIsLeft(ObjectContext& context)
{
    if (context.hasChanges()) {
        context.save();
    }
}

} // namespace

NoteSaveFailureNotice::NoteSaveFailureNotice(ObjectContext& context, QObject* parent)
    : QObject(parent)
{
    m_retry.setInterval(5000);
    connect(&m_retry, &QTimer::timeout, this, [&context] { saveWhatIsLeft(context); });
    connect(&context, &ObjectContext::saveFailed, this, &NoteSaveFailureNotice::saveFailed);
    m_retryAfterBackgroundSave.setSingleShot(true);
    m_retryAfterBackgroundSave.setInterval(ObjectContext::saveWaitingRetryMs);
    connect(&m_retryAfterBackgroundSave, &QTimer::timeout, this, [&context] { saveWhatIsLeft(context); });
    connect(&context, &ObjectContext::saveWaiting, &m_retryAfterBackgroundSave, qOverload<>(&QTimer::start));
    connect(&context, &ObjectContext::didSave, this, [this] {
        m_retry.stop();
        if (m_told) {
            SystemLog(QStringLiteral("store")).notice(QStringLiteral("The notes are saved again"));
        }
        m_told = false;
        // Every change was in this save: nothing is left unsaved to tell of.
        UserNotice::withdraw(topic);
    });
}

void NoteSaveFailureNotice::watch(ObjectContext& context)
{
    new NoteSaveFailureNotice(context, &context);
}

void NoteSaveFailureNotice::saveFailed(const QString& reason)
{
    if (!m_retry.isActive()) {
        m_retry.start();
    }
    if (m_told) {
        return;
    }
    m_told = true;
    SystemLog(QStringLiteral("store")).error(QStringLiteral("The notes could not be saved: ") + reason);
    UserNotice::tell(topic, QStringLiteral("Norvelle can't save your notes."),
        reason + QStringLiteral(".\n\nWhat you write stays in its window, and Norvelle keeps trying to save "
                                "it."));
}

} // namespace norvelle
