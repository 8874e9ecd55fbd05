#pragma once

#include <QString>

namespace norvelle {

// "1 note", "2 notes": the count with the noun in the number it takes.
QString countedNoun(qsizetype count, const QString& singular, const QString& plural);

} // namespace norvelle
