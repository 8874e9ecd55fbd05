#pragma once

#include "platform/WindowController.h"

namespace norvelle {

// The share-and-collaborate window of one note, around a window its opener prepared.
class CollaborationWindowController : public WindowController {
    Q_OBJECT
public:
    explicit CollaborationWindowController(std::unique_ptr<QWidget> window, QObject* parent = nullptr);

    // A plain "Share & Collaborate" window of the share window's fixed size; its content comes
    // with the share view.
    static std::unique_ptr<QWidget> makeWindow();
};

} // namespace norvelle
