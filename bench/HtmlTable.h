#pragma once

#include <QString>

namespace norvelle::bench {

// An HTML table of `rows` rows of three short cells, as a web page or a spreadsheet offers one.
// Its last cell reads "<(rows − 1) × 13 mod 10000>.50".
inline QString htmlTable(int rows)
{
    QString html = QStringLiteral("<html><body><table border=\"1\">");
    for (int row = 0; row < rows; ++row)
        html += QStringLiteral("<tr><td>row %1</td><td>name %2</td><td>%3.50</td></tr>").arg(row).arg(row * 7 % 1000).arg(row * 13 % 10000);
    return html + QStringLiteral("</table></body></html>");
}

} // namespace norvelle::bench
