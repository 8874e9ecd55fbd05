#pragma once

namespace norvelle {

// Whether a compositing manager runs on the desktop, so a window's transparent pixels show what
// lies behind it. False without an X11 display.
class Compositor {
public:
    static bool isRunning();
};

} // namespace norvelle
