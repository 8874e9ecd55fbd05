#include "platform/RtfDocumentBuilder.h"

#include "platform/RtfFormatMapping.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

namespace norvelle {

namespace {

class Builder {
public:
    explicit Builder(QTextDocument& document) : m_cursor(&document) {}

    void run(const RtfDocumentModel& model)
    {
        bool freshBlock = true;
        for (const auto& item : model.items) {
            if (const auto* paragraph = std::get_if<RtfParagraph>(&item)) {
                if (!freshBlock)
                    m_cursor.insertBlock();
                fill(*paragraph);
                freshBlock = false;
            } else {
                insertTable(std::get<RtfTable>(item));
                freshBlock = true;
            }
        }
    }

private:
    void fill(const RtfParagraph& paragraph, bool setMarkStyle = true)
    {
        m_cursor.setBlockFormat(RtfFormatMapping::blockFormat(paragraph.style));
        if (setMarkStyle)
            m_cursor.setBlockCharFormat(m_mapping.charFormat(paragraph.markStyle));
        for (const RtfRun& run : paragraph.runs)
            m_cursor.insertText(run.text, m_mapping.charFormat(run.style));
    }

    void insertTable(const RtfTable& table)
    {
        const std::vector<RtfCell>& firstRow = table.rows.front();
        QTextTableFormat format;
        format.setBorderCollapse(true);
        format.setCellSpacing(0);
        format.setCellPadding(0);
        format.setBorder(RtfFormatMapping::toPoints(firstRow.front().definition.top.width));
        format.setColumnWidthConstraints(columnWidths(table));
        QTextTable* made = m_cursor.insertTable(int(table.rows.size()), table.columns(), format);
        for (int row = 0; row < made->rows(); ++row) {
            for (int column = 0; column < made->columns(); ++column)
                fillCell(made->cellAt(row, column), table.rows[size_t(row)][size_t(column)]);
        }
        m_cursor = made->lastCursorPosition();
        m_cursor.movePosition(QTextCursor::NextBlock);
    }

    // A cell's format is the character format of its first block's separator, so the cell
    // properties and that paragraph's mark style share one format.
    void fillCell(QTextTableCell target, const RtfCell& cell)
    {
        m_cursor = target.firstCursorPosition();
        bool first = true;
        for (const RtfParagraph& paragraph : cell.paragraphs) {
            if (!first)
                m_cursor.insertBlock();
            fill(paragraph, !first);
            first = false;
        }
        QTextCharFormat format = m_mapping.charFormat(cell.paragraphs.front().markStyle);
        format.merge(cellFormat(cell.definition));
        target.setFormat(format);
    }

    static QList<QTextLength> columnWidths(const RtfTable& table)
    {
        QList<QTextLength> widths;
        int previousEdge = table.rowLeft;
        for (const RtfCell& cell : table.rows.front()) {
            const RtfCellDefinition& definition = cell.definition;
            switch (definition.widthUnit) {
            case RtfWidthUnit::Percent:
                widths.append(QTextLength(QTextLength::PercentageLength, definition.width / 50.0));
                break;
            case RtfWidthUnit::Twips:
                widths.append(QTextLength(QTextLength::FixedLength, RtfFormatMapping::toPoints(definition.width)));
                break;
            case RtfWidthUnit::Auto:
                widths.append(QTextLength(QTextLength::VariableLength, 0));
                break;
            case RtfWidthUnit::None: {
                const int delta = definition.rightEdge - previousEdge;
                widths.append(delta > 0 ? QTextLength(QTextLength::FixedLength, RtfFormatMapping::toPoints(delta))
                                        : QTextLength(QTextLength::VariableLength, 0));
                break;
            }
            }
            previousEdge = definition.rightEdge;
        }
        return widths;
    }

    static QTextTableCellFormat cellFormat(const RtfCellDefinition& definition)
    {
        QTextTableCellFormat format;
        auto border = [&format](const RtfBorder& border, int widthProperty, int styleProperty, int brushProperty) {
            format.setProperty(widthProperty, RtfFormatMapping::toPoints(border.width));
            format.setProperty(styleProperty, QTextFrameFormat::BorderStyle_Solid);
            if (border.color)
                format.setProperty(brushProperty, QBrush(QColor::fromRgba(*border.color)));
        };
        border(definition.top, QTextFormat::TableCellTopBorder, QTextFormat::TableCellTopBorderStyle,
            QTextFormat::TableCellTopBorderBrush);
        border(definition.left, QTextFormat::TableCellLeftBorder, QTextFormat::TableCellLeftBorderStyle,
            QTextFormat::TableCellLeftBorderBrush);
        border(definition.bottom, QTextFormat::TableCellBottomBorder, QTextFormat::TableCellBottomBorderStyle,
            QTextFormat::TableCellBottomBorderBrush);
        border(definition.right, QTextFormat::TableCellRightBorder, QTextFormat::TableCellRightBorderStyle,
            QTextFormat::TableCellRightBorderBrush);
        if (definition.background)
            format.setBackground(QColor::fromRgba(*definition.background));
        format.setTopPadding(RtfFormatMapping::toPoints(definition.paddingTop));
        format.setLeftPadding(RtfFormatMapping::toPoints(definition.paddingLeft));
        format.setBottomPadding(RtfFormatMapping::toPoints(definition.paddingBottom));
        format.setRightPadding(RtfFormatMapping::toPoints(definition.paddingRight));
        return format;
    }

    QTextCursor m_cursor;
    RtfFormatMapping m_mapping;
};

} // namespace

std::unique_ptr<QTextDocument> RtfDocumentBuilder::build(const RtfDocumentModel& model)
{
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    Builder(*document).run(model);
    document->setUndoRedoEnabled(true);
    return document;
}

} // namespace norvelle
