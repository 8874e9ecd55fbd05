#include "rtf/RtfControlWords.h"

#include <string_view>
#include <unordered_map>

namespace norvelle {

namespace {

using Table = std::unordered_map<std::string_view, RtfWordInfo>;

Table makeTable()
{
    Table t;
    auto add = [&t](std::string_view name, RtfWord word, char16_t character = 0) {
        t.emplace(name, RtfWordInfo {word, character});
    };
    add("ansi", RtfWord::Ansi);
    add("mac", RtfWord::Mac);
    add("pc", RtfWord::Pc);
    add("pca", RtfWord::Pca);
    add("ansicpg", RtfWord::AnsiCodePage);
    add("deff", RtfWord::DefaultFont);
    add("uc", RtfWord::UnicodeSkip);
    add("u", RtfWord::Unicode);
    add("bin", RtfWord::Binary);

    add("fonttbl", RtfWord::FontTable);
    add("colortbl", RtfWord::ColorTable);
    add("nvalphatbl", RtfWord::AlphaTable);
    for (std::string_view skipped : {
             "stylesheet", "info", "pict", "object", "shppict", "nonshppict", "header", "headerl",
             "headerr", "headerf", "footer", "footerl", "footerr", "footerf", "footnote",
             "fldinst", "nonesttables", "listtable", "listoverridetable", "revtbl", "rsidtbl",
             "xmlnstbl", "generator", "themedata", "colorschememapping", "datastore",
             "latentstyles", "pgdsctbl", "filetbl", "annotation", "atnid", "atnauthor",
             "ftnsep", "ftnsepc", "aftnsep", "aftnsepc", "txe", "xe", "tc", "tcn", "private",
             "userprops", "docvar", "template", "bkmkstart", "bkmkend", "pntxta", "pntxtb",
             "macpict", "wmetafile", "dibitmap", "wbitmap", "objdata", "blipuid"}) {
        add(skipped, RtfWord::SkippedDestination);
    }

    add("fcharset", RtfWord::FontCharset);
    add("cpg", RtfWord::FontCodePage);
    add("red", RtfWord::Red);
    add("green", RtfWord::Green);
    add("blue", RtfWord::Blue);
    add("nvalpha", RtfWord::Alpha);

    add("par", RtfWord::ParagraphEnd);
    add("sect", RtfWord::ParagraphEnd);
    add("page", RtfWord::ParagraphEnd);
    add("cell", RtfWord::Cell);
    add("row", RtfWord::Row);
    add("nestcell", RtfWord::NestedCell);
    add("nestrow", RtfWord::NestedRow);
    add("line", RtfWord::Character, 0x2028);
    add("tab", RtfWord::Character, u'\t');
    add("bullet", RtfWord::Character, 0x2022);
    add("endash", RtfWord::Character, 0x2013);
    add("emdash", RtfWord::Character, 0x2014);
    add("lquote", RtfWord::Character, 0x2018);
    add("rquote", RtfWord::Character, 0x2019);
    add("ldblquote", RtfWord::Character, 0x201C);
    add("rdblquote", RtfWord::Character, 0x201D);
    add("enspace", RtfWord::Character, 0x2002);
    add("emspace", RtfWord::Character, 0x2003);
    add("qmspace", RtfWord::Character, 0x2005);
    add("zwbo", RtfWord::Character, 0x200B);
    add("zwnj", RtfWord::Character, 0x200C);
    add("zwj", RtfWord::Character, 0x200D);
    add("ltrmark", RtfWord::Character, 0x200E);
    add("rtlmark", RtfWord::Character, 0x200F);

    add("plain", RtfWord::Plain);
    add("f", RtfWord::Font);
    add("fs", RtfWord::FontSize);
    add("b", RtfWord::Bold);
    add("nvweight", RtfWord::Weight);
    add("i", RtfWord::Italic);
    for (std::string_view underline : {
             "ul", "uld", "uldash", "uldashd", "uldashdd", "uldb", "ulhwave", "ulldash", "ulth",
             "ulthd", "ulthdash", "ulthdashd", "ulthdashdd", "ulthldash", "ululdbwave", "ulw",
             "ulwave"}) {
        add(underline, RtfWord::Underline);
    }
    add("ulnone", RtfWord::UnderlineNone);
    add("strike", RtfWord::Strike);
    add("striked", RtfWord::StrikeDouble);
    add("cf", RtfWord::Foreground);
    add("cb", RtfWord::Background);
    add("highlight", RtfWord::Background);
    add("chcbpat", RtfWord::Background);

    add("pard", RtfWord::Pard);
    add("ql", RtfWord::AlignLeft);
    add("qc", RtfWord::AlignCenter);
    add("qr", RtfWord::AlignRight);
    add("qj", RtfWord::AlignJustified);
    add("qd", RtfWord::AlignJustified);
    add("li", RtfWord::LeftIndent);
    add("fi", RtfWord::FirstLineIndent);
    add("sb", RtfWord::SpaceBefore);
    add("sa", RtfWord::SpaceAfter);
    add("intbl", RtfWord::InTable);
    add("itap", RtfWord::TableLevel);

    add("trowd", RtfWord::RowDefaults);
    add("trleft", RtfWord::RowLeft);
    add("trpaddt", RtfWord::RowPaddingTop);
    add("trpaddl", RtfWord::RowPaddingLeft);
    add("trpaddb", RtfWord::RowPaddingBottom);
    add("trpaddr", RtfWord::RowPaddingRight);
    add("clbrdrt", RtfWord::CellBorderTop);
    add("clbrdrl", RtfWord::CellBorderLeft);
    add("clbrdrb", RtfWord::CellBorderBottom);
    add("clbrdrr", RtfWord::CellBorderRight);
    for (std::string_view other : {"brdrt", "brdrl", "brdrb", "brdrr", "brdrbtw", "brdrbar", "box",
             "trbrdrt", "trbrdrl", "trbrdrb", "trbrdrr", "trbrdrh", "trbrdrv", "chbrdr",
             "pgbrdrt", "pgbrdrl", "pgbrdrb", "pgbrdrr"}) {
        add(other, RtfWord::OtherBorder);
    }
    for (std::string_view line : {"brdrs", "brdrth", "brdrsh", "brdrdb", "brdrdot", "brdrdash",
             "brdrhair", "brdrdashsm", "brdrdashd", "brdrdashdd", "brdrtriple", "brdrwavy",
             "brdrwavydb", "brdrinset", "brdroutset", "brdremboss", "brdrengrave"}) {
        add(line, RtfWord::BorderLine);
    }
    add("brdrnone", RtfWord::BorderNone);
    add("brdrnil", RtfWord::BorderNone);
    add("brdrw", RtfWord::BorderWidth);
    add("brdrcf", RtfWord::BorderColor);
    add("clcbpat", RtfWord::CellBackground);
    add("clpadt", RtfWord::CellPaddingTop);
    add("clpadl", RtfWord::CellPaddingLeft);
    add("clpadb", RtfWord::CellPaddingBottom);
    add("clpadr", RtfWord::CellPaddingRight);
    add("clwWidth", RtfWord::CellWidth);
    add("clftsWidth", RtfWord::CellWidthUnit);
    add("cellx", RtfWord::CellRightEdge);
    return t;
}

} // namespace

RtfWordInfo lookUpRtfWord(QByteArrayView name)
{
    static const Table table = makeTable();
    const auto found = table.find(std::string_view(name.data(), size_t(name.size())));
    return found == table.end() ? RtfWordInfo {} : found->second;
}

} // namespace norvelle
