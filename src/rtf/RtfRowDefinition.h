#pragma once

#include "rtf/RtfControlWords.h"
#include "rtf/RtfDocumentModel.h"

#include <vector>

namespace norvelle {

// Collects a table row's definition (\trowd … \cellx) for the reader: cell borders,
// backgrounds, padding and widths, in force until the next \trowd.
class RtfRowDefinition {
public:
    // Applies a row or cell definition word; `color` is the colour table entry the parameter
    // names. Returns false when the word is not one of them.
    bool apply(RtfWord word, int parameter, std::optional<QRgb> color);

    const std::vector<RtfCellDefinition>& cells() const { return m_cells; }
    int rowLeft() const { return m_rowLeft; }

private:
    void reset();
    RtfCellDefinition freshCell() const;

    std::vector<RtfCellDefinition> m_cells;
    RtfCellDefinition m_pending;
    RtfBorder* m_border = nullptr; // the border that \brdr… words describe, if a cell's
    int m_rowLeft = 0;
    int m_rowPadding[4] = {0, 0, 0, 0}; // top, left, bottom, right
};

} // namespace norvelle
