#include "rtf/RtfDocumentCapture.h"

#include "rtf/ParagraphContinuation.h"
#include "rtf/RtfFormatMapping.h"
#include "rtf/RtfLimits.h"

#include <QTextDocument>
#include <QTextFrame>
#include <QTextTable>

#include <unordered_map>

namespace norvelle {

class RtfDocumentCapture::Capture {
public:
    explicit Capture(std::optional<qreal> unsizedPointSize)
        : m_unsizedPointSize(unsizedPointSize)
    {
    }

    void block(const QTextBlock& block, std::vector<RtfDocumentModel::Item>& items)
    {
        auto* previous = items.empty() ? nullptr : std::get_if<RtfParagraph>(&items.back());
        if (previous && ParagraphContinuation::continues(block))
            appendRuns(*previous, block);
        else
            items.emplace_back(captureParagraph(block));
    }

    void frame(QTextFrame& frame, std::vector<RtfDocumentModel::Item>& items)
    {
        if (auto* table = qobject_cast<QTextTable*>(&frame)) {
            items.emplace_back(captureTable(*table));
            return;
        }
        std::vector<RtfParagraph> paragraphs;
        collectParagraphs(frame.begin(), paragraphs);
        for (RtfParagraph& paragraph : paragraphs)
            items.emplace_back(std::move(paragraph));
    }

private:
    RtfParagraph captureParagraph(const QTextBlock& block)
    {
        RtfParagraph paragraph;
        paragraph.style = paragraphStyle(block);
        if (const RtfCharacterStyle* mark = characterStyle(block.charFormatIndex(), [&block] { return block.charFormat(); }))
            paragraph.markStyle = *mark;
        else
            paragraph.markStyle = m_mapping.characterStyle(sized(block.charFormat()));
        appendRuns(paragraph, block);
        return paragraph;
    }

    void appendRuns(RtfParagraph& paragraph, const QTextBlock& block)
    {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const RtfCharacterStyle* style = characterStyle(fragment.charFormatIndex(), [&fragment] { return fragment.charFormat(); });
            if (!style)
                continue;
            if (!paragraph.runs.empty() && paragraph.runs.back().style == *style)
                paragraph.runs.back().text.append(fragment.text());
            else
                paragraph.runs.push_back({*style, fragment.text()});
        }
    }

    // A large note holds few distinct formats: each is mapped once per capture, by its index in
    // the document's format collection. None for an image, which the body leaves out.
    template <typename Format>
    const RtfCharacterStyle* characterStyle(int formatIndex, const Format& format)
    {
        auto found = m_characterStyles.find(formatIndex);
        if (found == m_characterStyles.end()) {
            const QTextCharFormat charFormat = format();
            std::optional<RtfCharacterStyle> style;
            if (!charFormat.isImageFormat())
                style = m_mapping.characterStyle(sized(charFormat));
            found = m_characterStyles.emplace(formatIndex, std::move(style)).first;
        }
        return found->second ? &*found->second : nullptr;
    }

    const RtfParagraphStyle& paragraphStyle(const QTextBlock& block)
    {
        const int formatIndex = block.blockFormatIndex();
        auto found = m_paragraphStyles.find(formatIndex);
        if (found == m_paragraphStyles.end())
            found = m_paragraphStyles.emplace(formatIndex, RtfFormatMapping::paragraphStyle(block.blockFormat())).first;
        return found->second;
    }

    QTextCharFormat sized(QTextCharFormat format) const
    {
        if (m_unsizedPointSize && !format.hasProperty(QTextFormat::FontPointSize) && !format.hasProperty(QTextFormat::FontPixelSize))
            format.setFontPointSize(*m_unsizedPointSize);
        return format;
    }

    void collectParagraphs(QTextFrame::iterator it, std::vector<RtfParagraph>& out)
    {
        for (; !it.atEnd(); ++it) {
            if (QTextFrame* frame = it.currentFrame()) {
                if (auto* table = qobject_cast<QTextTable*>(frame)) {
                    for (int row = 0; row < table->rows(); ++row) {
                        for (int column = 0; column < table->columns(); ++column) {
                            const QTextTableCell cell = table->cellAt(row, column);
                            if (cell.row() == row && cell.column() == column)
                                collectParagraphs(cell.begin(), out);
                        }
                    }
                } else {
                    collectParagraphs(frame->begin(), out);
                }
            } else {
                out.push_back(captureParagraph(it.currentBlock()));
            }
        }
    }

    RtfTable captureTable(const QTextTable& table)
    {
        const QTextTableFormat format = table.format();
        const int columns = std::min(table.columns(), RtfLimits::maxTableColumns);
        const std::vector<RtfCellDefinition> widths = columnWidths(format, columns);
        RtfTable out;
        for (int row = 0; row < table.rows(); ++row) {
            std::vector<RtfCell> cells;
            for (int column = 0; column < columns; ++column) {
                const QTextTableCell cell = table.cellAt(row, column);
                RtfCell captured;
                captured.definition = cellDefinition(cell.format().toTableCellFormat(), format);
                captured.definition.widthUnit = widths[column].widthUnit;
                captured.definition.width = widths[column].width;
                captured.definition.rightEdge = widths[column].rightEdge;
                if (cell.row() == row && cell.column() == column)
                    collectParagraphs(cell.begin(), captured.paragraphs);
                // Cells past the widest table kept go on as paragraphs of the last one, as a
                // reader puts them, so every cell's text stays where it was in the text.
                for (int extra = column + 1; column == columns - 1 && extra < table.columns(); ++extra) {
                    const QTextTableCell beyond = table.cellAt(row, extra);
                    if (beyond.row() == row && beyond.column() == extra)
                        collectParagraphs(beyond.begin(), captured.paragraphs);
                }
                if (captured.paragraphs.empty())
                    captured.paragraphs.emplace_back();
                cells.push_back(std::move(captured));
            }
            out.rows.push_back(std::move(cells));
        }
        return out;
    }

    static std::vector<RtfCellDefinition> columnWidths(const QTextTableFormat& format, int columns)
    {
        const QList<QTextLength> constraints = format.columnWidthConstraints();
        std::vector<RtfCellDefinition> widths(static_cast<size_t>(columns));
        int edge = 0;
        for (int column = 0; column < columns; ++column) {
            RtfCellDefinition& width = widths[size_t(column)];
            const QTextLength length = column < constraints.size() ? constraints[column] : QTextLength();
            switch (length.type()) {
            case QTextLength::PercentageLength:
                width.widthUnit = RtfWidthUnit::Percent;
                width.width = RtfFormatMapping::rounded(length.rawValue() * 50, 0, RtfLimits::maxPercentFiftieths);
                edge += width.width * RtfLimits::pageTextWidth / RtfLimits::maxPercentFiftieths;
                break;
            case QTextLength::FixedLength:
                width.widthUnit = RtfWidthUnit::Twips;
                width.width = RtfLimits::positiveTwips(RtfFormatMapping::toTwips(length.rawValue()));
                edge += width.width;
                break;
            case QTextLength::VariableLength:
                width.widthUnit = RtfWidthUnit::Auto;
                edge += RtfLimits::pageTextWidth / columns;
                break;
            }
            width.rightEdge = RtfLimits::twips(edge);
        }
        return widths;
    }

    RtfCellDefinition cellDefinition(const QTextTableCellFormat& cell, const QTextTableFormat& table) const
    {
        RtfCellDefinition definition;
        auto border = [&](int widthProperty, int brushProperty) {
            RtfBorder result;
            const bool own = cell.hasProperty(widthProperty);
            const qreal width = own ? cell.doubleProperty(widthProperty) : table.border();
            result.width = RtfLimits::borderTwips(RtfFormatMapping::toTwips(width));
            const QTextFormat& source = own ? static_cast<const QTextFormat&>(cell) : table;
            const int brushKey = own ? brushProperty : int(QTextFormat::FrameBorderBrush);
            if (source.hasProperty(brushKey)) {
                // A clear border (a note's: the paper colours it when shown) names no colour.
                const QBrush brush = source.brushProperty(brushKey);
                if (brush.style() != Qt::NoBrush && brush.color().alpha() > 0)
                    result.color = brush.color().rgba();
            }
            return result;
        };
        definition.top = border(QTextFormat::TableCellTopBorder, QTextFormat::TableCellTopBorderBrush);
        definition.left = border(QTextFormat::TableCellLeftBorder, QTextFormat::TableCellLeftBorderBrush);
        definition.bottom = border(QTextFormat::TableCellBottomBorder, QTextFormat::TableCellBottomBorderBrush);
        definition.right = border(QTextFormat::TableCellRightBorder, QTextFormat::TableCellRightBorderBrush);
        if (cell.hasProperty(QTextFormat::BackgroundBrush) && cell.background().style() != Qt::NoBrush)
            definition.background = cell.background().color().rgba();
        auto padding = [&](int property) {
            const qreal points = cell.hasProperty(property) ? cell.doubleProperty(property) : table.cellPadding();
            return RtfLimits::positiveTwips(RtfFormatMapping::toTwips(points));
        };
        definition.paddingTop = padding(QTextFormat::TableCellTopPadding);
        definition.paddingLeft = padding(QTextFormat::TableCellLeftPadding);
        definition.paddingBottom = padding(QTextFormat::TableCellBottomPadding);
        definition.paddingRight = padding(QTextFormat::TableCellRightPadding);
        return definition;
    }

    RtfFormatMapping m_mapping;
    std::optional<qreal> m_unsizedPointSize;
    std::unordered_map<int, std::optional<RtfCharacterStyle>> m_characterStyles;
    std::unordered_map<int, RtfParagraphStyle> m_paragraphStyles;
};

RtfDocumentModel RtfDocumentCapture::capture(const QTextDocument& document, std::optional<qreal> unsizedPointSize)
{
    RtfDocumentCapture capture(unsizedPointSize);
    RtfDocumentModel model;
    for (auto it = document.rootFrame()->begin(); !it.atEnd(); ++it) {
        if (QTextFrame* frame = it.currentFrame())
            capture.captureFrame(*frame, model.items);
        else
            capture.captureBlock(it.currentBlock(), model.items);
    }
    if (model.items.empty() || !std::holds_alternative<RtfParagraph>(model.items.back()))
        model.items.emplace_back(RtfParagraph {});
    return model;
}

RtfDocumentCapture::RtfDocumentCapture(std::optional<qreal> unsizedPointSize)
    : m_capture(std::make_unique<Capture>(unsizedPointSize))
{
}

RtfDocumentCapture::~RtfDocumentCapture() = default;

void RtfDocumentCapture::captureBlock(const QTextBlock& block, std::vector<RtfDocumentModel::Item>& items)
{
    m_capture->block(block, items);
}

void RtfDocumentCapture::captureFrame(QTextFrame& frame, std::vector<RtfDocumentModel::Item>& items)
{
    m_capture->frame(frame, items);
}

} // namespace norvelle
