#pragma once

#include "core/AnalyticsTracking.h"

namespace norvelle {

class ObjectContext;

// Repairs notes written without a title, a change time or a version, once per launch, before
// any window opens. Nothing records that it ran: it runs in full every time.
class NoteMigrationService {
public:
    explicit NoteMigrationService(AnalyticsTracking& tracker)
        : m_tracker(tracker)
    {
    }

    // Made on first use with the shared analytics tracker.
    static NoteMigrationService& shared();

    // Fills the missing fields of every note in `context` and saves when it changed any; a
    // failed fetch or save is dropped. Records "note_model_migrated" with the number of
    // fields written.
    void migrate(ObjectContext& context);

    // The title a note without one gets from its plain text: the first line-feed-separated
    // piece (a CR LF pair does not separate), trimmed; "Untitled" when there is none.
    static QString titleFromPlainText(const QString& plainText);

private:
    AnalyticsTracking& m_tracker;
};

} // namespace norvelle
