#pragma once

#include <QByteArrayView>

namespace norvelle {

// The control words the reader acts on. Everything else is skipped.
enum class RtfWord {
    Unknown,
    // document
    Ansi,
    Mac,
    Pc,
    Pca,
    AnsiCodePage,
    DefaultFont,
    UnicodeSkip,
    Unicode,
    Binary,
    // destinations
    FontTable,
    ColorTable,
    AlphaTable,
    SkippedDestination,
    // font, colour and alpha table entries
    FontCharset,
    FontCodePage,
    Red,
    Green,
    Blue,
    Alpha,
    // text
    Character,
    ParagraphEnd,
    Cell,
    Row,
    NestedCell,
    NestedRow,
    // character
    Plain,
    Font,
    FontSize,
    Bold,
    Weight,
    Italic,
    Underline,
    UnderlineNone,
    Strike,
    StrikeDouble,
    Foreground,
    Background,
    // paragraph
    Pard,
    AlignLeft,
    AlignCenter,
    AlignRight,
    AlignJustified,
    LeftIndent,
    FirstLineIndent,
    SpaceBefore,
    SpaceAfter,
    InTable,
    TableLevel,
    // table rows
    RowDefaults,
    RowLeft,
    RowPaddingTop,
    RowPaddingLeft,
    RowPaddingBottom,
    RowPaddingRight,
    CellBorderTop,
    CellBorderLeft,
    CellBorderBottom,
    CellBorderRight,
    OtherBorder,
    BorderLine,
    BorderNone,
    BorderWidth,
    BorderColor,
    CellBackground,
    CellPaddingTop,
    CellPaddingLeft,
    CellPaddingBottom,
    CellPaddingRight,
    CellWidth,
    CellWidthUnit,
    CellRightEdge,
};

struct RtfWordInfo {
    RtfWord word = RtfWord::Unknown;
    char16_t character = 0; // for RtfWord::Character
};

RtfWordInfo lookUpRtfWord(QByteArrayView name);

} // namespace norvelle
