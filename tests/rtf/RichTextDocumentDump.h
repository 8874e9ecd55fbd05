#pragma once

#include <QString>

class QTextDocument;

namespace norvelle::test {

// One line per paragraph, fragment and table cell with the attributes the RTF codec carries,
// so two documents compare as text and a failure shows where they differ.
QString dumpRichText(const QTextDocument& document);

} // namespace norvelle::test
