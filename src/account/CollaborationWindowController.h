#pragma once

#include "platform/WindowController.h"

namespace norvelle {

class AnalyticsTracking;
class Pasteboard;
class StickyNote;

// The share-and-collaborate window of one note, around a window its opener prepared.
class CollaborationWindowController : public WindowController {
    Q_OBJECT
public:
    explicit CollaborationWindowController(std::unique_ptr<QWidget> window, QObject* parent = nullptr);

    // A fixed-size "Share & Collaborate" window whose whole content is the share view of `note`.
    static std::unique_ptr<QWidget> makeWindow(StickyNote& note, AnalyticsTracking& tracker, Pasteboard& pasteboard);
};

} // namespace norvelle
