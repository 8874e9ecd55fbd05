#pragma once

#include <QString>

#include <optional>

namespace norvelle {

// Launch at login: an XDG autostart entry, ~/.config/autostart/norvelle.desktop, that starts
// this program when the user's desktop session begins.
//
//     if (LoginItem::status() != LoginItem::Status::enabled) {
//         if (auto error = LoginItem::registerItem()) {
//             log(*error);
//         }
//     }
class LoginItem {
public:
    // Enabled: the entry exists and the desktop has not been told to skip it (Hidden, or the
    // GNOME switch set to false, as session settings tools write it).
    enum class Status { notRegistered,
        enabled };

    static Status status();
    // Writes the entry for the running program, replacing any earlier one in one step.
    // Returns the reason when it could not be written.
    static std::optional<QString> registerItem();
    // Removes the entry. Returns the reason when it stays.
    static std::optional<QString> unregisterItem();
    // Registers or unregisters as `wanted` says, only when the status differs. Returns the
    // reason when the change could not be made.
    static std::optional<QString> setEnabled(bool wanted);

    static QString filePath();
    // The entry's text for `program`, an absolute path.
    static QString desktopEntry(const QString& program);
};

} // namespace norvelle
