#include "rtf/RtfTableAssembler.h"

namespace norvelle {

void RtfTableAssembler::addCellParagraph(RtfParagraph paragraph, bool endsCell)
{
    if (m_cellsLeft <= 0) {
        m_output.emplace_back(std::move(paragraph));
        return;
    }
    m_cellParagraphs.push_back(std::move(paragraph));
    if (endsCell)
        closeCell();
}

void RtfTableAssembler::closeCell()
{
    if (int(m_row.size()) >= RtfLimits::maxTableColumns) {
        auto& last = m_row.back().paragraphs;
        last.insert(last.end(), std::make_move_iterator(m_cellParagraphs.begin()),
            std::make_move_iterator(m_cellParagraphs.end()));
    } else {
        m_row.push_back(RtfCell {{}, std::move(m_cellParagraphs)});
    }
    m_cellParagraphs.clear();
}

void RtfTableAssembler::endRow(const std::vector<RtfCellDefinition>& definitions, int rowLeft)
{
    if (!m_cellParagraphs.empty())
        closeCell();
    if (m_row.empty())
        return;
    if (m_cellsLeft < int(m_row.size())) {
        flushTable();
        for (RtfCell& cell : m_row) {
            for (RtfParagraph& paragraph : cell.paragraphs)
                m_output.emplace_back(std::move(paragraph));
        }
        m_cellsLeft = 0;
        m_row.clear();
        return;
    }
    if (m_table.columns() != int(m_row.size()) || int(m_table.rows.size()) >= RtfLimits::maxTableRows)
        flushTable();
    int previousEdge = rowLeft;
    for (size_t i = 0; i < m_row.size(); ++i) {
        if (i < definitions.size()) {
            m_row[i].definition = definitions[i];
        } else {
            m_row[i].definition = {};
            m_row[i].definition.rightEdge = previousEdge;
        }
        previousEdge = m_row[i].definition.rightEdge;
    }
    if (m_table.rows.empty())
        m_table.rowLeft = rowLeft;
    m_cellsLeft -= int(m_row.size());
    m_table.rows.push_back(std::move(m_row));
    m_row.clear();
}

void RtfTableAssembler::finish()
{
    if (!m_cellParagraphs.empty() || !m_row.empty())
        endRow({}, 0);
    flushTable();
}

void RtfTableAssembler::flushTable()
{
    if (m_table.rows.empty())
        return;
    m_output.emplace_back(std::move(m_table));
    m_table = {};
}

} // namespace norvelle
