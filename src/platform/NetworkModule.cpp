#include "platform/NetworkModule.h"

#include "platform/SystemLog.h"

#include <QCoreApplication>
#include <QLibrary>

namespace norvelle {

NetworkModule* NetworkModule::load(const QString& path, QString* error)
{
    // Never unloaded: what it made may live until the program ends.
    QLibrary library(path);
    if (!library.load()) {
        *error = library.errorString();
        return nullptr;
    }
    using Entry = NetworkModule* (*)();
    const auto entry = reinterpret_cast<Entry>(library.resolve(entryPoint));
    if (!entry) {
        *error = library.errorString();
        return nullptr;
    }
    return entry();
}

NetworkModule* NetworkModule::shared()
{
    static NetworkModule* const module = [] {
        // Only from beside the program: any other folder may hold a file someone else put there.
        QString error;
        NetworkModule* loaded = load(QCoreApplication::applicationDirPath() + '/' + QStringLiteral(NORVELLE_NETWORK_MODULE_FILE), &error);
        if (!loaded) {
            SystemLog("network").error("Cannot load the network module: " + error);
        }
        return loaded;
    }();
    return module;
}

} // namespace norvelle
