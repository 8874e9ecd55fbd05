#pragma once

#include "rtf/RtfDocumentModel.h"
#include "rtf/RtfLimits.h"

#include <vector>

namespace norvelle {

// Gathers cell paragraphs into rows and rows into tables for the reader. Consecutive rows with
// the same number of cells form one table. Columns, rows per table and cells per document are
// bounded: extra cells join the row's last cell, an overlong table goes on as a new one, and
// once the document's cells are spent further cell paragraphs become plain paragraphs.
class RtfTableAssembler {
public:
    using Items = std::vector<std::variant<RtfParagraph, RtfTable>>;

    explicit RtfTableAssembler(Items& output)
        : m_output(output)
    {
    }

    // A paragraph inside a table: `endsCell` for \cell, false for \par within a cell.
    void addCellParagraph(RtfParagraph paragraph, bool endsCell);
    // \row, with the definitions in force.
    void endRow(const std::vector<RtfCellDefinition>& definitions, int rowLeft);
    // Closes an open row and moves the table being built, if any, to the output.
    void finish();

private:
    void closeCell();
    void flushTable();

    Items& m_output;
    RtfTable m_table;
    std::vector<RtfCell> m_row;
    std::vector<RtfParagraph> m_cellParagraphs;
    int m_cellsLeft = RtfLimits::maxTableCells;
};

} // namespace norvelle
