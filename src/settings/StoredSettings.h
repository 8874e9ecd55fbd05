#pragma once

#include <QString>

class QAbstractButton;

namespace norvelle {

// The settings window's stored settings: their keys and what an absent value reads as.
namespace storedSettings {

inline const QString syncEnabledKey = QStringLiteral("norvelle.sync.enabled");             // on
inline const QString autoSyncEnabledKey = QStringLiteral("norvelle.sync.autoEnabled");     // on
inline const QString apiBaseURLKey = QStringLiteral("norvelle.api.baseURL");               // ""
inline const QString openWorkspaceOnLaunchKey = QStringLiteral("norvelle.openWorkspaceOnLaunch"); // off
inline const QString telemetryEnabledKey = QStringLiteral("norvelle.telemetryEnabled");   // on

// The Boolean stored under `key`, or `fallback` when none (or something else) is stored.
bool boolValue(const QString& key, bool fallback);
// The text stored under `key`, or `fallback` when none (or something else) is stored.
QString text(const QString& key, const QString& fallback = {});

// Shows the Boolean under `key` on a checkable button, stores each click at once and follows
// changes made elsewhere.
void bindSwitch(QAbstractButton& button, const QString& key, bool fallback);

} // namespace storedSettings

} // namespace norvelle
