#include "sticky/NewStickyNote.h"

#include "core/AnalyticsTracking.h"
#include "core/AutomationHooking.h"
#include "core/SearchIndexService.h"
#include "objectstore/ObjectContext.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "store/NoteTitle.h"
#include "store/StickyNote.h"
#include "ui/NorvelleAppearancePreference.h"
#include "ui/SchemePalette.h"

#include <QDateTime>
#include <QGuiApplication>
#include <QPalette>
#include <QUuid>

namespace norvelle {

std::shared_ptr<StickyNote> NewStickyNote::create(const QString& text, ColorScheme scheme, ObjectContext& context,
    AnalyticsTracking& tracker, AutomationHooking& hooks,
    SearchIndexService& searchIndex)
{
    const auto note = StickyNote::insert(context);
    const QUuid id = QUuid::createUuid();
    note->setId(id);
    note->setCreatedAt(QDateTime::currentDateTimeUtc());
    note->setUpdatedAt(QDateTime::currentDateTimeUtc());
    note->setPaperColor(defaultPaperColor(scheme));
    note->setTextureName(QStringLiteral("lined"));
    note->setIsWindowOpen(true);
    note->setIsArchived(false);
    note->setPlainText(text);
    note->setTitle(titleFor(text));
    note->setVersion(1);
    note->setLastSyncedVersion(0);
    note->setPermissions(QStringLiteral("Private"));
    note->setIsPinned(false);
    if (const std::optional<QString> folder = folderFor(UserDefaults::standard().string(storedSettings::preferredNewNoteFolderSlug.key))) {
        note->setWorkspaceId(*folder);
    }
    const QString idText = id.toString(QUuid::WithoutBraces).toUpper();
    // A note the store did not take is not recorded as made; its window still opens with it.
    if (!context.save()) {
        tracker.track(QStringLiteral("note_created"), {{QStringLiteral("source"), QStringLiteral("menu_or_shortcut")}});
        hooks.trigger(QStringLiteral("note_created"), {{QStringLiteral("title"), note->title()}, {QStringLiteral("id"), idText}});
    }
    searchIndex.index.insert(idText, (note->title() + u'\n' + text).toLower());
    return note;
}

QString NewStickyNote::defaultPaperColor(ColorScheme scheme)
{
    return scheme == ColorScheme::dark ? QStringLiteral("#2C2C2E") : QStringLiteral("#FDFDF8");
}

ColorScheme NewStickyNote::currentColorScheme()
{
    if (const std::optional<ColorScheme> chosen = appearance::colorScheme(appearance::stored())) {
        return *chosen;
    }
    return schemeOf(QGuiApplication::palette());
}

QString NewStickyNote::titleFor(const QString& text)
{
    return NoteTitle::firstLine(text).value_or(QStringLiteral("Untitled"));
}

std::optional<QString> NewStickyNote::folderFor(const std::optional<QString>& preferredSlug)
{
    if (!preferredSlug) {
        return std::nullopt;
    }
    const QString slug = preferredSlug->toLower();
    if (slug.isEmpty() || slug == QStringLiteral("all") || slug == QStringLiteral("inbox")) {
        return std::nullopt;
    }
    return slug;
}

} // namespace norvelle
