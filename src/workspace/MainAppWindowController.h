#pragma once

#include "platform/WindowController.h"

namespace norvelle {

class WorkspaceView;

// The notes workspace window: 1100 × 680, down to 680 × 420, centred on its screen, hosting
// the WorkspaceView over the note database. Closing hides it with all its state.
class MainAppWindowController : public WindowController {
    Q_OBJECT
public:
    explicit MainAppWindowController(QObject* parent = nullptr);

    WorkspaceView* workspaceView() const { return m_view; }

private:
    WorkspaceView* m_view;
};

} // namespace norvelle
