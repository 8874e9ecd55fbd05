#pragma once

#include <QString>

#include <memory>

namespace norvelle {

class HttpTransport;
class LoopbackListener;

// Qt's network stack, and the libraries it pulls in, live in a module of their own that is
// loaded at the first request or sign-in: a program that never goes online does not map them.
class NetworkModule {
public:
    virtual ~NetworkModule() = default;

    virtual std::unique_ptr<HttpTransport> makeHttpTransport() = 0;
    virtual std::unique_ptr<LoopbackListener> makeLoopbackListener() = 0;

    // The module, loaded on the first call; null when it cannot be (the reason is logged once).
    static NetworkModule* shared();
    // Loads the module from `path`; null with `error` set when that fails.
    static NetworkModule* load(const QString& path, QString* error);

    // The symbol the module exports: `NetworkModule* norvelle_network_module()`.
    static constexpr const char* entryPoint = "norvelle_network_module";
};

} // namespace norvelle
