#include "ui/CountedNoun.h"

namespace norvelle {

QString countedNoun(qsizetype count, const QString& singular, const QString& plural)
{
    return QString::number(count) + QLatin1Char(' ') + (count == 1 ? singular : plural);
}

} // namespace norvelle
