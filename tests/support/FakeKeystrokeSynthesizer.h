#pragma once

#include "platform/KeystrokeSynthesizer.h"

#include <functional>

namespace norvelle::test {

// Records paste keystrokes and notices instead of sending them.
class FakeKeystrokeSynthesizer : public KeystrokeSynthesizing {
public:
    bool isTrusted() override { return trusted; }
    void prompt() override { ++prompts; }
    void postPaste() override
    {
        ++pastes;
        if (onPaste) {
            onPaste();
        }
    }

    bool trusted = true;
    int prompts = 0;
    int pastes = 0;
    std::function<void()> onPaste;
};

} // namespace norvelle::test
