#include "rtf/RtfRowDefinition.h"

#include "rtf/RtfLimits.h"

namespace norvelle {

namespace {

// A line style with no \brdrw still draws a hairline.
constexpr int defaultLineWidth = 15;

} // namespace

bool RtfRowDefinition::apply(RtfWord word, int parameter, std::optional<QRgb> color)
{
    switch (word) {
    case RtfWord::RowDefaults:
        reset();
        return true;
    case RtfWord::RowLeft:
        m_rowLeft = RtfLimits::twips(parameter);
        return true;
    case RtfWord::RowPaddingTop:
    case RtfWord::RowPaddingLeft:
    case RtfWord::RowPaddingBottom:
    case RtfWord::RowPaddingRight: {
        const int side = int(word) - int(RtfWord::RowPaddingTop);
        m_rowPadding[side] = RtfLimits::positiveTwips(parameter);
        m_pending = freshCell();
        return true;
    }
    case RtfWord::CellBorderTop:
        m_border = &m_pending.top;
        return true;
    case RtfWord::CellBorderLeft:
        m_border = &m_pending.left;
        return true;
    case RtfWord::CellBorderBottom:
        m_border = &m_pending.bottom;
        return true;
    case RtfWord::CellBorderRight:
        m_border = &m_pending.right;
        return true;
    case RtfWord::OtherBorder:
        m_border = nullptr;
        return true;
    case RtfWord::BorderLine:
        if (m_border && m_border->width == 0)
            m_border->width = defaultLineWidth;
        return true;
    case RtfWord::BorderNone:
        if (m_border)
            *m_border = {};
        return true;
    case RtfWord::BorderWidth:
        if (m_border)
            m_border->width = RtfLimits::borderTwips(parameter);
        return true;
    case RtfWord::BorderColor:
        if (m_border)
            m_border->color = color;
        return true;
    case RtfWord::CellBackground:
        m_pending.background = color;
        return true;
    case RtfWord::CellPaddingTop:
        m_pending.paddingTop = RtfLimits::positiveTwips(parameter);
        return true;
    case RtfWord::CellPaddingLeft:
        m_pending.paddingLeft = RtfLimits::positiveTwips(parameter);
        return true;
    case RtfWord::CellPaddingBottom:
        m_pending.paddingBottom = RtfLimits::positiveTwips(parameter);
        return true;
    case RtfWord::CellPaddingRight:
        m_pending.paddingRight = RtfLimits::positiveTwips(parameter);
        return true;
    case RtfWord::CellWidth:
        m_pending.width = parameter;
        return true;
    case RtfWord::CellWidthUnit:
        m_pending.widthUnit = parameter == 1 ? RtfWidthUnit::Auto
            : parameter == 2                 ? RtfWidthUnit::Percent
            : parameter == 3                 ? RtfWidthUnit::Twips
                                             : RtfWidthUnit::None;
        return true;
    case RtfWord::CellRightEdge:
        m_pending.rightEdge = RtfLimits::twips(parameter);
        if (m_pending.widthUnit == RtfWidthUnit::Percent)
            m_pending.width = RtfLimits::percentFiftieths(m_pending.width);
        else if (m_pending.widthUnit == RtfWidthUnit::Twips)
            m_pending.width = RtfLimits::positiveTwips(m_pending.width);
        else
            m_pending.width = 0;
        if (int(m_cells.size()) < RtfLimits::maxTableColumns)
            m_cells.push_back(m_pending);
        m_pending = freshCell();
        m_border = nullptr;
        return true;
    default:
        return false;
    }
}

void RtfRowDefinition::reset()
{
    m_cells.clear();
    m_rowLeft = 0;
    for (int& padding : m_rowPadding)
        padding = 0;
    m_pending = freshCell();
    m_border = nullptr;
}

RtfCellDefinition RtfRowDefinition::freshCell() const
{
    RtfCellDefinition cell;
    cell.paddingTop = m_rowPadding[0];
    cell.paddingLeft = m_rowPadding[1];
    cell.paddingBottom = m_rowPadding[2];
    cell.paddingRight = m_rowPadding[3];
    return cell;
}

} // namespace norvelle
