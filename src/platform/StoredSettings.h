#pragma once

#include <QString>

namespace norvelle {

// A setting that holds a Boolean. Only a stored Boolean is a choice: absent, a number or a text
// reads as the default, so every reader (an engine, a pane) sees the same answer.
struct BoolSetting {
    QString key;
    bool defaultValue;

    bool value() const;
    void set(bool on) const;
};

// A setting that holds a text; absent or another type reads as the default.
struct TextSetting {
    QString key;
    QString defaultValue;

    QString value() const;
    // An empty text removes the key, so the default applies again.
    void set(const QString& text) const;
};

// Every setting the program keeps in UserDefaults::standard(), each declared here once with its
// type and its default. The settings whose values are structured (JSON, lists) are read by their
// one owner, which gives them their reading rule; their keys are here too.
namespace storedSettings {

inline const BoolSetting syncEnabled {QStringLiteral("norvelle.sync.enabled"), true};
inline const BoolSetting autoSyncEnabled {QStringLiteral("norvelle.sync.autoEnabled"), true};
inline const BoolSetting telemetryEnabled {QStringLiteral("norvelle.telemetryEnabled"), true};
inline const BoolSetting openWorkspaceOnLaunch {QStringLiteral("norvelle.openWorkspaceOnLaunch"), false};
inline const BoolSetting hasCompletedOnboarding {QStringLiteral("norvelle.hasCompletedOnboarding"), false};
inline const BoolSetting didMigrateWorkspaceLaunchDefault {QStringLiteral("norvelle.didMigrateWorkspaceLaunchDefault"), false};
inline const BoolSetting launchAtLoginBannerDismissed {QStringLiteral("norvelle.launchAtLoginBannerDismissed"), false};
inline const BoolSetting usedDevelopmentIdentity {QStringLiteral("norvelle.auth.usedDevelopmentIdentity"), false};

// "system", "light" or "dark".
inline const TextSetting appearance {QStringLiteral("norvelle.appearance"), QStringLiteral("system")};
// Empty: the built-in server.
inline const TextSetting apiBaseURL {QStringLiteral("norvelle.api.baseURL"), QString()};
inline const TextSetting preferredNewNoteFolderSlug {QStringLiteral("norvelle.preferredNewNoteFolderSlug"), QString()};
inline const TextSetting profileAvatarPath {QStringLiteral("norvelle.profile.avatarPath"), QString()};
inline const TextSetting accountDisplayName {QStringLiteral("norvelle.profile.accountDisplayName"), QString()};
// Where earlier versions kept "scheme://host:port" of the server that issued the stored session;
// read once to carry it beside the session.
inline const TextSetting sessionServer {QStringLiteral("norvelle.sync.sessionServer"), QString()};
// Made once, at random, when missing.
inline const TextSetting deviceIdentifier {QStringLiteral("norvelle.device.id"), QString()};
// The name of the signal that ended the previous run.
inline const TextSetting lastCrashSignal {QStringLiteral("norvelle.lastCrashSignal"), QString()};
// A ClipboardRetentionMode raw value; "days7" when absent or unknown.
inline const TextSetting clipboardRetentionMode {QStringLiteral("norvelle.clipboard.retentionMode"), QStringLiteral("days7")};

// Integer: the highest server version applied; absent before the first pull.
inline const QString sinceGlobalVersionKey = QStringLiteral("norvelle.sync.sinceGlobalVersion");
// Data, JSON: the shortcut profile and the user's folders.
inline const QString shortcutsProfileKey = QStringLiteral("norvelle.shortcuts.profile.v1");
inline const QString workspaceUserFoldersKey = QStringLiteral("norvelle.workspaceUserFolders.v1");
// Where a stored folder list that cannot be read is kept before the next add replaces it.
inline const QString workspaceUserFoldersUnreadableKey = workspaceUserFoldersKey + QStringLiteral(".unreadable");
// Lists of "#RRGGBB" texts.
inline const QString customPaperColorsKey = QStringLiteral("norvelle.customPaperColors");
inline const QString recentPaperColorsKey = QStringLiteral("norvelle.recentPaperColors.v2");
// Per note, followed by its UUID: the sticky's frame (dictionary) and whether it follows the
// theme (Boolean).
inline const QString stickyFramePrefix = QStringLiteral("norvelle.sticky.frame.");
inline const QString stickyFollowThemePrefix = QStringLiteral("norvelle.sticky.followTheme.");

} // namespace storedSettings

} // namespace norvelle
