#pragma once

namespace norvelle {

class ClipboardMonitor;

// "Clear all" of the clip views: empties the history and tells the rest of the program.
void clearClipHistory(ClipboardMonitor& monitor);

} // namespace norvelle
