#pragma once

// What every fuzz target shares: a Qt application for the code that needs one, and the input as
// bytes.
#include <QByteArray>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace norvelle::fuzz {

// The Qt application (QGuiApplication or QApplication for code that draws), on Qt's offscreen
// platform: no display needed.
template <typename Application = QCoreApplication>
inline void makeApplication()
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "norvelle_fuzz";
    static char* argv[] = {name, nullptr};
    new Application(argc, argv);
}

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// Fontconfig keeps what it allocates until the process ends: not a leak of ours.
extern "C" __attribute__((used)) inline const char* __lsan_default_suppressions()
{
    return "leak:libfontconfig.so";
}

// A property the code promises was broken: libFuzzer keeps the input.
inline void require(bool promise)
{
    if (!promise) {
        std::abort();
    }
}

} // namespace norvelle::fuzz
