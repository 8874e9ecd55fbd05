#pragma once

#include <QString>

namespace norvelle {

class ServiceError;

// The local development server the device-list texts point a developer at.
inline constexpr int developmentServerPort = 8787;
inline const QString developmentServerOrigin = QStringLiteral("http://localhost:8787");

// What the devices list shows when loading failed, naming the likely fix; `triedURL` is the
// list's address under the base URL in effect.
QString devicesErrorMessage(const ServiceError& error, const QString& triedURL);

} // namespace norvelle
