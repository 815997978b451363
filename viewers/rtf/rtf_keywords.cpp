#include "viewers/rtf/rtf_keywords.h"

#include <string_view>
#include <unordered_map>

#include "viewers/rtf/rtf_document.h"

namespace quillon::rtf {

namespace {

using K = RtfKeyword;

constexpr char32_t Value(RtfFontFamily family) {
    return static_cast<char32_t>(family);
}
constexpr char32_t Value(RtfAlignment alignment) {
    return static_cast<char32_t>(alignment);
}

// Destinations whose text is never shown: document information, style and list
// definitions, pictures, headers and footers, notes, field instructions, bookmarks,
// embedded objects. Unknown destinations behind \* are skipped as well.
constexpr std::string_view kSkipped[] = {
    "aftncn",
    "aftnsep",
    "aftnsepc",
    "annotation",
    "atnauthor",
    "atndate",
    "atnicn",
    "atnid",
    "atnparent",
    "atnref",
    "atntime",
    "atrfend",
    "atrfstart",
    "author",
    "bkmkend",
    "bkmkstart",
    "buptim",
    "category",
    "colorschememapping",
    "comment",
    "company",
    "creatim",
    "datastore",
    "doccomm",
    "docvar",
    "falt",
    "fchars",
    "filetbl",
    "fldinst",
    "footer",
    "footerf",
    "footerl",
    "footerr",
    "footnote",
    "ftncn",
    "ftnsep",
    "ftnsepc",
    "generator",
    "header",
    "headerf",
    "headerl",
    "headerr",
    "hlinkbase",
    "info",
    "keywords",
    "latentstyles",
    "lchars",
    "listoverridetable",
    "listtable",
    "manager",
    "nonshppict",
    "objalias",
    "objclass",
    "objdata",
    "objname",
    "objsect",
    "objtime",
    "operator",
    "panose",
    "pgdsctbl",
    "pict",
    "printim",
    "private",
    "revtbl",
    "revtim",
    "rsidtbl",
    "stylesheet",
    "subject",
    "tc",
    "template",
    "themedata",
    "title",
    "txe",
    "userprops",
    "xe",
    "xmlnstbl",
};

struct Entry {
    std::string_view word;
    RtfKeywordInfo info;
};

const Entry kEntries[] = {
    {"ansi", {K::CharsetAnsi}},
    {"mac", {K::CharsetMac}},
    {"pc", {K::CharsetPc}},
    {"pca", {K::CharsetPca}},
    {"ansicpg", {K::AnsiCodePage}},
    {"deff", {K::DefaultFont}},
    {"fonttbl", {K::FontTable}},
    {"colortbl", {K::ColorTable}},
    {"upr", {K::UnicodeAlternatives}},
    {"ud", {K::UnicodeDestination}},
    {"f", {K::Font}},
    {"fcharset", {K::FontCharset}},
    {"cpg", {K::FontCodePage}},
    {"fprq", {K::FontPitch}},
    {"fnil", {K::FontFamily, Value(RtfFontFamily::Nil)}},
    {"froman", {K::FontFamily, Value(RtfFontFamily::Roman)}},
    {"fswiss", {K::FontFamily, Value(RtfFontFamily::Swiss)}},
    {"fmodern", {K::FontFamily, Value(RtfFontFamily::Modern)}},
    {"fscript", {K::FontFamily, Value(RtfFontFamily::Script)}},
    {"fdecor", {K::FontFamily, Value(RtfFontFamily::Decor)}},
    {"ftech", {K::FontFamily, Value(RtfFontFamily::Tech)}},
    {"fbidi", {K::FontFamily, Value(RtfFontFamily::Bidi)}},
    {"red", {K::Red}},
    {"green", {K::Green}},
    {"blue", {K::Blue}},
    {"par", {K::Paragraph}},
    {"line", {K::LineBreak}},
    {"tab", {K::Tab}},
    {"page", {K::PageBreak}},
    {"sect", {K::SectionBreak}},
    {"cell", {K::Cell}},
    {"nestcell", {K::Cell}},
    {"row", {K::Row}},
    {"nestrow", {K::Row}},
    {"emdash", {K::Character, U'\u2014'}},
    {"endash", {K::Character, U'\u2013'}},
    {"emspace", {K::Character, U'\u2003'}},
    {"enspace", {K::Character, U'\u2002'}},
    {"qmspace", {K::Character, U'\u2005'}},
    {"bullet", {K::Character, U'\u2022'}},
    {"lquote", {K::Character, U'\u2018'}},
    {"rquote", {K::Character, U'\u2019'}},
    {"ldblquote", {K::Character, U'\u201C'}},
    {"rdblquote", {K::Character, U'\u201D'}},
    {"zwj", {K::Character, U'\u200D'}},
    {"zwnj", {K::Character, U'\u200C'}},
    {"zwbo", {K::Character, U'\u200B'}},
    {"ltrmark", {K::Character, U'\u200E'}},
    {"rtlmark", {K::Character, U'\u200F'}},
    {"u", {K::Unicode}},
    {"uc", {K::UnicodeSkip}},
    {"plain", {K::Plain}},
    {"b", {K::Bold}},
    {"i", {K::Italic}},
    {"ul", {K::Underline}},
    {"uld", {K::Underline}},
    {"uldash", {K::Underline}},
    {"uldashd", {K::Underline}},
    {"uldashdd", {K::Underline}},
    {"uldb", {K::Underline}},
    {"ulhwave", {K::Underline}},
    {"ulldash", {K::Underline}},
    {"ulth", {K::Underline}},
    {"ulthd", {K::Underline}},
    {"ulthdash", {K::Underline}},
    {"ulthdashd", {K::Underline}},
    {"ulthdashdd", {K::Underline}},
    {"ulthldash", {K::Underline}},
    {"ululdbwave", {K::Underline}},
    {"ulw", {K::Underline}},
    {"ulwave", {K::Underline}},
    {"ulnone", {K::UnderlineNone}},
    {"strike", {K::Strike}},
    {"striked", {K::Strike}},
    {"v", {K::Hidden}},
    {"super", {K::Superscript}},
    {"sub", {K::Subscript}},
    {"nosupersub", {K::NoSuperSub}},
    {"fs", {K::FontSize}},
    {"cf", {K::ForeColor}},
    {"pard", {K::ParagraphDefault}},
    {"ql", {K::Alignment, Value(RtfAlignment::Left)}},
    {"qc", {K::Alignment, Value(RtfAlignment::Center)}},
    {"qr", {K::Alignment, Value(RtfAlignment::Right)}},
    {"qj", {K::Alignment, Value(RtfAlignment::Justify)}},
    {"qd", {K::Alignment, Value(RtfAlignment::Justify)}},
    {"pagebb", {K::PageBreakBefore}},
};

std::unordered_map<std::string_view, RtfKeywordInfo> MakeTable() {
    std::unordered_map<std::string_view, RtfKeywordInfo> table;
    for (const std::string_view word : kSkipped) table[word] = {K::SkippedDestination};
    for (const Entry& e : kEntries) table[e.word] = e.info;
    return table;
}

}  // namespace

RtfKeywordInfo FindRtfKeyword(std::string_view word) {
    static const std::unordered_map<std::string_view, RtfKeywordInfo> table = MakeTable();
    const auto it = table.find(word);
    return it == table.end() ? RtfKeywordInfo{} : it->second;
}

}  // namespace quillon::rtf
