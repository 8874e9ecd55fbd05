#pragma once

#include <QString>

#include <functional>
#include <memory>

namespace norvelle {

class HttpTransport;
class LoopbackListener;

// Qt's network stack, and the libraries it pulls in, live in a module of their own that is
// loaded at the first request or sign-in: a program that never goes online does not map them.
class NetworkModule {
public:
    virtual ~NetworkModule() = default;

    // The transport hands memory back through `returnFreedMemory` after a large reply: the
    // program's own helper, whose one lock keeps trims from running side by side.
    virtual std::unique_ptr<HttpTransport> makeHttpTransport(std::function<void()> returnFreedMemory) = 0;
    virtual std::unique_ptr<LoopbackListener> makeLoopbackListener() = 0;

    // The module, loaded on the first call; null when it cannot be (the reason is logged once).
    static NetworkModule* shared();
    // Loads the module from `path`; null with `error` set when that fails.
    static NetworkModule* load(const QString& path, QString* error);

    // The symbol the module exports: `NetworkModule* norvelle_network_module()`.
    static constexpr const char* entryPoint = "norvelle_network_module";
};

} // namespace norvelle
