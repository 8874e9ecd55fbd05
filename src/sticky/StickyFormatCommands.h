#pragma once

#include "editor/AaPopupCallbacks.h"

namespace norvelle {

// The format popup's callbacks as editor commands, each posted at once to `editor` (the
// sticky's own `RichTextEditor`) on the default notification centre. Values pass unchanged.
AaPopupCallbacks formatCommandCallbacks(const void* editor);

} // namespace norvelle
