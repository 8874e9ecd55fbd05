#include "rtf/RtfDocumentBuilder.h"

#include "rtf/RtfFormatMapping.h"

#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>

#include <list>

namespace norvelle {

namespace {

class Builder {
public:
    explicit Builder(QTextDocument& document)
        : m_cursor(&document)
    {
    }

    void run(const RtfDocumentModel& model)
    {
        bool freshBlock = true;
        for (const auto& item : model.items) {
            if (const auto* paragraph = std::get_if<RtfParagraph>(&item)) {
                fill(*paragraph, freshBlock ? BlockStart::Reuse : BlockStart::Insert);
                freshBlock = false;
            } else {
                insertTable(std::get<RtfTable>(item));
                freshBlock = true;
            }
        }
    }

private:
    // Reuse: the cursor's block is empty and takes the paragraph; ReuseKeepingMark: the same,
    // but the block's character format is a table cell's and must stay.
    enum class BlockStart { Insert,
        Reuse,
        ReuseKeepingMark };

    void fill(const RtfParagraph& paragraph, BlockStart start)
    {
        const QTextBlockFormat blockFormat = RtfFormatMapping::blockFormat(paragraph.style);
        switch (start) {
        case BlockStart::Insert:
            m_cursor.insertBlock(blockFormat, charFormat(paragraph.markStyle));
            break;
        case BlockStart::Reuse:
            m_cursor.setBlockFormat(blockFormat);
            m_cursor.setBlockCharFormat(charFormat(paragraph.markStyle));
            break;
        case BlockStart::ReuseKeepingMark:
            m_cursor.setBlockFormat(blockFormat);
            break;
        }
        for (const RtfRun& run : paragraph.runs)
            m_cursor.insertText(run.text, charFormat(run.style));
    }

    // Documents use few distinct styles; converting each once saves most of the work.
    const QTextCharFormat& charFormat(const RtfCharacterStyle& style)
    {
        for (const auto& [known, format] : m_formats) {
            if (known == style)
                return format;
        }
        if (m_formats.size() >= maxCachedFormats)
            m_formats.pop_back();
        m_formats.emplace_front(style, m_mapping.charFormat(style));
        return m_formats.front().second;
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
            fill(paragraph, first ? BlockStart::ReuseKeepingMark : BlockStart::Insert);
            first = false;
        }
        QTextCharFormat format = charFormat(cell.paragraphs.front().markStyle);
        // Character and cell backgrounds are one property: the cell's wins.
        format.clearBackground();
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

    static constexpr size_t maxCachedFormats = 64;

    QTextCursor m_cursor;
    RtfFormatMapping m_mapping;
    std::list<std::pair<RtfCharacterStyle, QTextCharFormat>> m_formats;
};

} // namespace

std::unique_ptr<QTextDocument> RtfDocumentBuilder::build(const RtfDocumentModel& model)
{
    auto document = std::make_unique<QTextDocument>();
    document->setUndoRedoEnabled(false);
    QTextCursor batch(document.get());
    batch.beginEditBlock();
    Builder(*document).run(model);
    batch.endEditBlock();
    document->setUndoRedoEnabled(true);
    return document;
}

} // namespace norvelle
