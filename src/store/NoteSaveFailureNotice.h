#pragma once

#include <QObject>
#include <QTimer>

namespace norvelle {

class ObjectContext;

// Tells the user, once for each run of failed saves, that their notes are not being saved,
// without taking the keyboard from the note they type in. The changes stay in the context (and
// in the open windows) and go with the next save, which is also tried every few seconds so they
// reach the disk once it has room even when nothing else changes; the first save that succeeds
// ends the run and takes the notice away, so a later failure is told again. A save put off while a large note is written
// in the background is no failure: it is tried again shortly, untold.
class NoteSaveFailureNotice : public QObject {
    Q_OBJECT
public:
    explicit NoteSaveFailureNotice(ObjectContext& context, QObject* parent = nullptr);

    static inline const QString topic = QStringLiteral("noteSaveFailure");

    // Watches the context for the rest of the process.
    static void watch(ObjectContext& context);

private:
    void saveFailed(const QString& reason);

    bool m_told = false;
    QTimer m_retry;
    QTimer m_retryAfterBackgroundSave;
};

} // namespace norvelle
