#pragma once

// What every fuzz target shares: a Qt application for the code that needs one, and the input as
// bytes.
#include <QByteArray>
#include <QCoreApplication>

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace norvelle::fuzz {

inline void makeApplication()
{
    static int argc = 1;
    static char name[] = "norvelle_fuzz";
    static char* argv[] = {name, nullptr};
    new QCoreApplication(argc, argv);
}

inline QByteArray bytes(const uint8_t* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), qsizetype(size));
}

// A property the code promises was broken: libFuzzer keeps the input.
inline void require(bool promise)
{
    if (!promise) {
        std::abort();
    }
}

} // namespace norvelle::fuzz
