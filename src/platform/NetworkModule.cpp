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
        // Next to the program, else where the build put it (the tests and benchmarks run from
        // folders of their own).
        const QString file = QStringLiteral(NORVELLE_NETWORK_MODULE_FILE);
        QStringList errors;
        for (const QString& folder : {QCoreApplication::applicationDirPath(), QStringLiteral(NORVELLE_NETWORK_MODULE_DIR)}) {
            QString error;
            if (NetworkModule* loaded = load(folder + '/' + file, &error)) {
                return loaded;
            }
            errors.append(error);
        }
        SystemLog("network").error("Cannot load the network module: " + errors.join(QStringLiteral("; ")));
        return static_cast<NetworkModule*>(nullptr);
    }();
    return module;
}

} // namespace norvelle
