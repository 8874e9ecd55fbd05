#include "sticky/PaperColorLists.h"

#include "platform/NotificationCenter.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"
#include "ui/HexColor.h"

namespace norvelle::PaperColorLists {

namespace {

QString putFirst(const QString& key, const QString& hex, Qt::CaseSensitivity sameness, qsizetype limit)
{
    const QString first = normalizePaperHex(hex);
    QStringList list = load(key);
    list.removeIf([&](const QString& entry) { return normalizePaperHex(entry).compare(first, sameness) == 0; });
    list.prepend(first);
    UserDefaults::standard().set(key, QVariant(list.mid(0, limit)));
    return first;
}

} // namespace

QStringList load(const QString& key)
{
    const std::optional<QVariantList> stored = UserDefaults::standard().array(key);
    if (!stored) {
        return {};
    }
    QStringList list;
    for (const QVariant& entry : *stored) {
        if (entry.typeId() != QMetaType::QString) {
            return {};
        }
        list.append(entry.toString());
    }
    return list;
}

void addCustomPaperColor(const QString& hex)
{
    putFirst(storedSettings::customPaperColorsKey, hex, Qt::CaseInsensitive, 6);
    NotificationCenter::defaultCenter().post(customChangedNotification);
}

void rememberRecentPaperColor(const QString& hex)
{
    const QString first = putFirst(storedSettings::recentPaperColorsKey, hex, Qt::CaseSensitive, 12);
    NotificationCenter::defaultCenter().post(recentChangedNotification, nullptr, {{QStringLiteral("hex"), first}});
}

void clearCustomPaperColors()
{
    UserDefaults::standard().remove(storedSettings::customPaperColorsKey);
    NotificationCenter::defaultCenter().post(customChangedNotification);
}

} // namespace norvelle::PaperColorLists
