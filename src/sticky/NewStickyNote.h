#pragma once

#include "ui/ColorScheme.h"

#include <QString>

#include <memory>
#include <optional>

namespace norvelle {

class AnalyticsTracking;
class AutomationHooking;
class ObjectContext;
class SearchIndexService;
class StickyNote;

// A new note as every "new sticky" gesture makes it: saved, recorded, announced to the local
// automation hook and indexed for search. Opening its window is the caller's part.
class NewStickyNote {
public:
    // Inserts and saves the note (a failed save is ignored) and records it. `text` may be empty.
    static std::shared_ptr<StickyNote> create(const QString& text, ColorScheme scheme, ObjectContext& context,
        AnalyticsTracking& tracker, AutomationHooking& hooks,
        SearchIndexService& searchIndex);

    // "#2C2C2E" on a dark desktop, "#FDFDF8" on a light one.
    static QString defaultPaperColor(ColorScheme scheme);
    // The look the user chose for the program, else the desktop's.
    static ColorScheme currentColorScheme();
    // The first non-empty line of the text, or "Untitled".
    static QString titleFor(const QString& text);
    // The folder for new notes from the stored slug: lower-cased; none when nothing is
    // stored or the slug is empty, "all" or "inbox".
    static std::optional<QString> folderFor(const std::optional<QString>& preferredSlug);
};

} // namespace norvelle
