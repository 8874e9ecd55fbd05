#pragma once

#include "platform/WindowController.h"

namespace norvelle {

// The notes workspace window. For now a plain window of the workspace's size.
class MainAppWindowController : public WindowController {
    Q_OBJECT
public:
    explicit MainAppWindowController(QObject* parent = nullptr);
};

} // namespace norvelle
