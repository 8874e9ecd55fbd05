#include "RichTextDocumentDump.h"

#include "rtf/RtfFormatMapping.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

namespace norvelle::test {

namespace {

QString brushText(const QTextFormat& format, int property)
{
    if (!format.hasProperty(property) || format.brushProperty(property).style() == Qt::NoBrush)
        return QStringLiteral("none");
    return format.brushProperty(property).color().name(QColor::HexArgb);
}

// The size as the writer stores it: a half point read from a file, else the drawn size.
qreal storedSize(const QTextCharFormat& format)
{
    if (const int kept = format.intProperty(RtfFormatMapping::halfPointsProperty); kept > 0)
        return kept / 2.0;
    if (format.hasProperty(QTextFormat::FontPixelSize))
        return format.intProperty(QTextFormat::FontPixelSize);
    return format.fontPointSize();
}

QString escaped(const QString& text)
{
    QString out;
    for (QChar c : text) {
        if (c.unicode() < 0x20 || c.unicode() > 0x7E)
            out += QStringLiteral("<%1>").arg(c.unicode(), 4, 16, QChar('0'));
        else
            out += c;
    }
    return out;
}

void dumpBlock(const QTextBlock& block, const QString& indent, QString& out)
{
    const QTextBlockFormat format = block.blockFormat();
    out += QStringLiteral("%1block align=%2 left=%3 first=%4 before=%5 after=%6\n")
               .arg(indent)
               .arg(format.hasProperty(QTextFormat::BlockAlignment) ? int(format.alignment()) : -1)
               .arg(format.leftMargin())
               .arg(format.textIndent())
               .arg(format.topMargin())
               .arg(format.bottomMargin());
    for (auto it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat c = it.fragment().charFormat();
        out += QStringLiteral("%1  '%2' family=%3 size=%4 weight=%5 i=%6 u=%7 s=%8 fg=%9 bg=%10\n")
                   .arg(indent, escaped(it.fragment().text()))
                   .arg(c.fontFamilies().toStringList().join(','))
                   .arg(storedSize(c))
                   .arg(c.fontWeight())
                   .arg(c.fontItalic())
                   .arg(c.fontUnderline())
                   .arg(c.fontStrikeOut())
                   .arg(brushText(c, QTextFormat::ForegroundBrush), brushText(c, QTextFormat::BackgroundBrush));
    }
}

void dumpFrame(QTextFrame::iterator it, const QString& indent, QString& out)
{
    for (; !it.atEnd(); ++it) {
        auto* table = qobject_cast<QTextTable*>(it.currentFrame());
        if (!table) {
            if (it.currentFrame())
                dumpFrame(it.currentFrame()->begin(), indent + "  ", out);
            else
                dumpBlock(it.currentBlock(), indent, out);
            continue;
        }
        out += QStringLiteral("%1table %2x%3 widths").arg(indent).arg(table->rows()).arg(table->columns());
        for (const QTextLength& length : table->format().columnWidthConstraints())
            out += QStringLiteral(" %1:%2").arg(int(length.type())).arg(length.rawValue());
        out += '\n';
        for (int row = 0; row < table->rows(); ++row) {
            for (int column = 0; column < table->columns(); ++column) {
                const QTextTableCell cell = table->cellAt(row, column);
                const QTextTableCellFormat f = cell.format().toTableCellFormat();
                out += QStringLiteral("%1 cell %2,%3 borders=%4/%5/%6/%7 %8/%9/%10/%11 bg=%12 pad=%13/%14/%15/%16\n")
                           .arg(indent)
                           .arg(row)
                           .arg(column)
                           .arg(f.topBorder())
                           .arg(f.leftBorder())
                           .arg(f.bottomBorder())
                           .arg(f.rightBorder())
                           .arg(brushText(f, QTextFormat::TableCellTopBorderBrush),
                               brushText(f, QTextFormat::TableCellLeftBorderBrush),
                               brushText(f, QTextFormat::TableCellBottomBorderBrush),
                               brushText(f, QTextFormat::TableCellRightBorderBrush),
                               brushText(f, QTextFormat::BackgroundBrush))
                           .arg(f.topPadding())
                           .arg(f.leftPadding())
                           .arg(f.bottomPadding())
                           .arg(f.rightPadding());
                dumpFrame(cell.begin(), indent + "    ", out);
            }
        }
    }
}

} // namespace

QString dumpRichText(const QTextDocument& document)
{
    QString out;
    dumpFrame(document.rootFrame()->begin(), QString(), out);
    return out;
}

} // namespace norvelle::test
