// Feeds any bytes to the settings file loader: it must never crash or hang, every key of a JSON
// object whose value it can read must be there after the load and after a save and a load
// again, and a file it takes must save, load and save again to the same bytes.
#include "FuzzInput.h"

#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>

using namespace norvelle;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

const QString probeKey = QStringLiteral("fuzz.probe");

// The keys of the file whose values read, with those values (but the one the check itself
// removes).
QVariantMap readableKeys(const QByteArray& file)
{
    QVariantMap keys;
    const QJsonObject root = QJsonDocument::fromJson(file).object();
    for (auto it = root.begin(); it != root.end(); ++it) {
        bool ok = false;
        const QVariant value = UserDefaults::decode(it.value(), &ok);
        if (ok && it.key() != probeKey) {
            keys.insert(it.key(), value);
        }
    }
    return keys;
}

// Loads the file, checks that `kept` are there, and writes it again (a changed key forces the
// write). The write happens on the settings' writer thread: it is waited for before the file is
// read back.
QByteArray loadAndSave(const QString& path, const QVariantMap& kept)
{
    UserDefaults defaults(path);
    for (auto it = kept.begin(); it != kept.end(); ++it) {
        fuzz::require(defaults.object(it.key()) == it.value());
    }
    defaults.set(probeKey, true);
    defaults.remove(probeKey);
    defaults.synchronize();
    return readAll(path);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::makeApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("defaults.json"));
    {
        QFile file(path);
        fuzz::require(file.open(QIODevice::WriteOnly) && file.write(reinterpret_cast<const char*>(data), qint64(size)) == qint64(size));
    }
    const QVariantMap kept = readableKeys(fuzz::bytes(data, size));
    const QByteArray first = loadAndSave(path, kept);
    // A file set aside leaves only what the empty store wrote, with the keys it could read.
    const QByteArray second = loadAndSave(path, kept);
    fuzz::require(first == second);
    return 0;
}
