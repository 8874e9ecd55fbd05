#pragma once

#include "clipboard/ClipboardMonitor.h"
#include "support/FakeAppDelegating.h"
#include "support/FakePasteboard.h"

namespace norvelle::test {

// An application delegate with a clipboard history of its own.
class WorkspaceApp : public FakeAppDelegating {
public:
    FakePasteboard pasteboard;
    ClipboardMonitor monitor {pasteboard, [] { return QStringLiteral("Tests"); }};
    ClipboardMonitor& clipboardMonitor() override { return monitor; }
};

} // namespace norvelle::test
