#include "core/NorvelleShortcutsProfile.h"

#include "platform/GraphemeWalker.h"
#include "platform/NotificationCenter.h"
#include "platform/StoredSettings.h"
#include "platform/UserDefaults.h"

#include <QJsonDocument>
#include <QJsonObject>

namespace norvelle {

namespace {

QJsonObject encodeShortcut(const ActionShortcut& shortcut)
{
    return QJsonObject {
        {QStringLiteral("usesDefault"), shortcut.usesDefault},
        {QStringLiteral("modifierPreset"), modifierPresetRawValue(shortcut.modifierPreset)},
        {QStringLiteral("keyLetter"), shortcut.keyLetter},
    };
}

// Strict: all three keys present with their exact JSON types and a known preset name.
std::optional<ActionShortcut> decodeShortcut(const QJsonValue& json)
{
    if (!json.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = json.toObject();
    const QJsonValue usesDefault = object.value(QStringLiteral("usesDefault"));
    const QJsonValue preset = object.value(QStringLiteral("modifierPreset"));
    const QJsonValue keyLetter = object.value(QStringLiteral("keyLetter"));
    if (!usesDefault.isBool() || !preset.isString() || !keyLetter.isString()) {
        return std::nullopt;
    }
    const auto modifierPreset = modifierPresetFromRawValue(preset.toString());
    if (!modifierPreset) {
        return std::nullopt;
    }
    return ActionShortcut {usesDefault.toBool(), *modifierPreset, keyLetter.toString()};
}

std::optional<NorvelleShortcutsProfile> decodeProfile(const QByteArray& data)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(data, &error);
    if (error.error != QJsonParseError::NoError || !document.isObject()) {
        return std::nullopt;
    }
    const QJsonObject object = document.object();
    NorvelleShortcutsProfile profile;
    for (NorvelleShortcutAction action : allShortcutActions()) {
        const auto shortcut = decodeShortcut(object.value(shortcutActionRawValue(action)));
        if (!shortcut) {
            return std::nullopt;
        }
        profile.setShortcut(action, *shortcut);
    }
    return profile;
}

// The entry of one action, const or not as the profile is.
template <typename Profile>
auto& entryOf(Profile& profile, NorvelleShortcutAction action)
{
    switch (action) {
    case NorvelleShortcutAction::openWorkspace:
        return profile.openWorkspace;
    case NorvelleShortcutAction::newNote:
        return profile.newNote;
    case NorvelleShortcutAction::clipboardHistory:
        break;
    }
    return profile.clipboardHistory;
}

QString quoted(const QString& text)
{
    return QStringLiteral("\u201C") + text + QStringLiteral("\u201D");
}

} // namespace

const QString& shortcutsChangedNotification()
{
    static const QString name = QStringLiteral("norvelleShortcutsChanged");
    return name;
}

NorvelleShortcutsProfile NorvelleShortcutsProfile::defaults()
{
    NorvelleShortcutsProfile profile;
    for (NorvelleShortcutAction action : allShortcutActions()) {
        profile.setShortcut(action,
            ActionShortcut {true, ShortcutModifierPreset::commandShift, shortcutActionDefaultLetter(action)});
    }
    return profile;
}

const ActionShortcut& NorvelleShortcutsProfile::shortcut(NorvelleShortcutAction action) const
{
    return entryOf(*this, action);
}

void NorvelleShortcutsProfile::setShortcut(NorvelleShortcutAction action, const ActionShortcut& shortcut)
{
    entryOf(*this, action) = shortcut;
}

EffectiveShortcut NorvelleShortcutsProfile::effectiveShortcut(NorvelleShortcutAction action) const
{
    const ActionShortcut& entry = shortcut(action);
    if (entry.usesDefault) {
        return {ShortcutModifier::command | ShortcutModifier::shift, shortcutActionDefaultLetter(action)};
    }
    return {modifierFlags(entry.modifierPreset),
        normalizedShortcutLetter(entry.keyLetter).value_or(shortcutActionDefaultLetter(action))};
}

QString NorvelleShortcutsProfile::label(NorvelleShortcutAction action) const
{
    const EffectiveShortcut effective = effectiveShortcut(action);
    return shortcutLabel(effective.flags, effective.letter);
}

NorvelleShortcutsProfile loadShortcutsProfile()
{
    const std::optional<QByteArray> data = UserDefaults::standard().data(storedSettings::shortcutsProfileKey);
    if (!data) {
        return NorvelleShortcutsProfile::defaults();
    }
    return decodeProfile(*data).value_or(NorvelleShortcutsProfile::defaults());
}

void saveShortcutsProfile(const NorvelleShortcutsProfile& profile)
{
    QJsonObject object;
    for (NorvelleShortcutAction action : allShortcutActions()) {
        object.insert(shortcutActionRawValue(action), encodeShortcut(profile.shortcut(action)));
    }
    UserDefaults::standard().set(storedSettings::shortcutsProfileKey, QJsonDocument(object).toJson(QJsonDocument::Compact));
    NotificationCenter::defaultCenter().post(shortcutsChangedNotification());
}

std::optional<QString> normalizedShortcutLetter(const QString& text)
{
    if (text.isEmpty()) {
        return std::nullopt;
    }
    // The first user-perceived character, so "k" with a combining accent is not taken for "k".
    const QString letter = GraphemeWalker::leading(text, 1).toString().toLower();
    if (letter.size() != 1 || letter.at(0) < QLatin1Char('a') || letter.at(0) > QLatin1Char('z')) {
        return std::nullopt;
    }
    return letter;
}

std::optional<QString> shortcutValidationMessage(NorvelleShortcutAction action,
    const ActionShortcut& proposal, const NorvelleShortcutsProfile& current)
{
    ActionShortcut candidateEntry = proposal;
    if (!proposal.usesDefault) {
        const auto letter = normalizedShortcutLetter(proposal.keyLetter);
        if (!letter) {
            return QStringLiteral("Use a single letter A\u2013Z for the shortcut key.");
        }
        candidateEntry.keyLetter = *letter;
    }
    NorvelleShortcutsProfile candidate = current;
    candidate.setShortcut(action, candidateEntry);

    const auto& actions = allShortcutActions();
    for (size_t first = 0; first < actions.size(); ++first) {
        for (size_t second = first + 1; second < actions.size(); ++second) {
            if (candidate.effectiveShortcut(actions[first]) == candidate.effectiveShortcut(actions[second])) {
                return quoted(shortcutActionTitle(actions[first])) + QStringLiteral(" and ")
                    + quoted(shortcutActionTitle(actions[second])) + QStringLiteral(" use the same shortcut.");
            }
        }
    }
    return std::nullopt;
}

} // namespace norvelle
