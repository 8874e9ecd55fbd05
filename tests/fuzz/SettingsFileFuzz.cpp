// Feeds any bytes to the settings file loader: it must never crash or hang, and a file it
// takes must save, load and save again to the same bytes.
#include "FuzzInput.h"

#include "platform/UserDefaults.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

using namespace norvelle;

namespace {

QByteArray readAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Loads the file and writes it again (a changed key forces the write). The write happens on the
// settings' writer thread: it is waited for before the file is read back.
QByteArray loadAndSave(const QString& path)
{
    UserDefaults defaults(path);
    defaults.set(QStringLiteral("fuzz.probe"), true);
    defaults.remove(QStringLiteral("fuzz.probe"));
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
    const QByteArray first = loadAndSave(path);
    // A file set aside leaves only what the empty store wrote.
    const QByteArray second = loadAndSave(path);
    fuzz::require(first == second);
    return 0;
}
