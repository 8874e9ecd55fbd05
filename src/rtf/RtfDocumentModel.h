#pragma once

#include <QRgb>
#include <QString>

#include <optional>
#include <variant>
#include <vector>

namespace norvelle {

// The rich text as RTF sees it, free of Qt's text layout classes: the reader fills it from
// bytes, the writer prints it, and the conversions to and from QTextDocument sit on either side.
// Lengths are in twips (1/20 pt), font sizes in half-points, colours carry their alpha.

enum class RtfFontKind { System,
    SystemMono,
    Named };

struct RtfCharacterStyle {
    RtfFontKind fontKind = RtfFontKind::System;
    QString family; // only for Named
    int halfPoints = 24;
    int weight = 400;
    bool italic = false;
    bool underline = false;
    bool strikethrough = false;
    std::optional<QRgb> foreground;
    std::optional<QRgb> background;

    bool operator==(const RtfCharacterStyle&) const = default;
};

enum class RtfAlignment { Natural,
    Left,
    Center,
    Right,
    Justified };

struct RtfParagraphStyle {
    RtfAlignment alignment = RtfAlignment::Natural;
    int leftIndent = 0;
    int firstLineIndent = 0;
    int spaceBefore = 0;
    int spaceAfter = 0;

    bool operator==(const RtfParagraphStyle&) const = default;
};

struct RtfRun {
    RtfCharacterStyle style;
    QString text;
};

struct RtfParagraph {
    RtfParagraphStyle style;
    RtfCharacterStyle markStyle; // the paragraph mark's own style (what an empty line keeps)
    std::vector<RtfRun> runs;

    bool hasText() const;
};

struct RtfBorder {
    int width = 0;
    std::optional<QRgb> color;

    bool operator==(const RtfBorder&) const = default;
};

// How a cell's width is given: not at all (the \cellx edges decide), automatic, in fiftieths
// of a percent, or in twips.
enum class RtfWidthUnit { None,
    Auto,
    Percent,
    Twips };

struct RtfCellDefinition {
    RtfBorder top, left, bottom, right;
    std::optional<QRgb> background;
    int paddingTop = 0, paddingLeft = 0, paddingBottom = 0, paddingRight = 0;
    RtfWidthUnit widthUnit = RtfWidthUnit::None;
    int width = 0;
    int rightEdge = 0; // \cellx, relative to the row's left edge

    bool operator==(const RtfCellDefinition&) const = default;
};

struct RtfCell {
    RtfCellDefinition definition;
    std::vector<RtfParagraph> paragraphs; // never empty
};

struct RtfTable {
    int rowLeft = 0;
    std::vector<std::vector<RtfCell>> rows; // every row has the same number of cells

    int columns() const { return rows.empty() ? 0 : int(rows.front().size()); }
};

// The document: paragraphs and tables in order. The last item is always a paragraph (the one
// no \par ends, possibly empty), so n paragraph ends give n + 1 top-level paragraphs.
struct RtfDocumentModel {
    using Item = std::variant<RtfParagraph, RtfTable>;
    std::vector<Item> items;

    // No character, no paragraph break and no table.
    bool isEmpty() const;
    // Paragraphs end with "\n" except the last; each cell paragraph ends with "\n"; line
    // separators become "\n".
    QString plainText() const;
};

} // namespace norvelle
