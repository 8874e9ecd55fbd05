#pragma once

#include <QString>

#include <ostream>

// Readable Qt values in test failure messages (gtest would print their bytes). Found by
// argument-dependent lookup, so include this before the assertions that compare such values.
inline void PrintTo(const QString& text, std::ostream* out)
{
    *out << '"' << text.toStdString() << '"';
}
