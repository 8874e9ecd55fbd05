#pragma once

#include <QString>

namespace norvelle {

class ServiceError;

// What the devices list shows when loading failed, in words a user can act on.
QString devicesErrorMessage(const ServiceError& error);

} // namespace norvelle
