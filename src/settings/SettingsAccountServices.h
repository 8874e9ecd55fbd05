#pragma once

namespace norvelle {

class AnalyticsTracking;
class AuthService;
class DeviceAttestation;
class GoogleSignInManager;
class NotesSyncService;
class SyncCredentialStore;

// The account services the settings window works through: the program's own, or stand-ins
// that tests point at a loopback server.
struct SettingsAccountServices {
    AuthService& auth;
    NotesSyncService& notesSync;
    GoogleSignInManager& google;
    SyncCredentialStore& credentials;
    DeviceAttestation& attestation;
    AnalyticsTracking& tracker;

    static SettingsAccountServices live();
};

} // namespace norvelle
