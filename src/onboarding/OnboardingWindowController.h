#pragma once

#include "platform/WindowController.h"

#include <functional>

namespace norvelle {

// The first-run window. For now it welcomes the user and offers "Skip", which finishes.
class OnboardingWindowController : public WindowController {
    Q_OBJECT
public:
    explicit OnboardingWindowController(QObject* parent = nullptr);

    // Called once onboarding is finished and the window closed.
    std::function<void()> onFinish;

    // Records that onboarding is done, closes the window and calls onFinish.
    void finish();
};

} // namespace norvelle
