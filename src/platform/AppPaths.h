#pragma once

#include <QString>

namespace norvelle {

// The folders the program reads and writes, after the XDG base-directory rules. NORVELLE_HOME,
// when set, replaces every root with a folder below it (tests point it at a temporary folder).
class AppPaths {
public:
    // Where per-user application data lives (~/.local/share); the program's own files go in
    // its "Norvelle" sub-folder.
    static QString applicationSupportDirectory();
    // ~/.config/norvelle: the defaults file.
    static QString configDirectory();
    // ~/.config/autostart: launch-at-login entries.
    static QString autostartDirectory();
    // A private (0700) folder of this user's for short-lived files such as share documents and
    // the single-instance socket: $XDG_RUNTIME_DIR/norvelle, else norvelle-<uid> in the shared
    // temporary folder, else (that name taken by someone else) one below ~/.cache. Empty when
    // none could be made.
    static QString temporaryDirectory();

    // Creates `path` (and parents) when missing; returns whether it exists afterwards.
    static bool ensureDirectory(const QString& path);

private:
    static QString homeOverride();
};

} // namespace norvelle
