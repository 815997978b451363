#pragma once
// The HTML parser: reads a document (HTML or plain text) from a file, a buffer, a list of
// lines or a stream into a TSectionList. The document must have been cleared first.
//
// Errors: EParseError (a comment open at the end of the input) and std::ios_base::failure
// (a source that cannot be opened or read). On an error the document is left empty, with
// its colours and background as they were, and the name list as it was.

#include <istream>
#include <string>
#include <string_view>
#include <vector>

#include "html/style/style_parser.h"
#include "html/tree/page_rule.h"

namespace quillon {

class TSectionList;
class TSectionBase;

// One <A NAME=...>: the upper-cased name and the section that holds it.
struct TNameEntry {
    std::string Name;
    const TSectionBase* Section = nullptr;
};
using TNameList = std::vector<TNameEntry>;

// What the viewer reads after a parse (UTF-8).
struct THtmlParseResult {
    std::string Title;
    std::string Base;
    std::string BaseTarget;
    // The text of the document's STYLE elements, one after another, each ended by '\n'.
    std::string StyleSheet;
    // The size and margins the style sheets' @page rules give every page (empty: none).
    TPageSetup Page;
    // The style sheets have rules for the screen or print only (@media, @import or LINK
    // media): parsed for the other medium, the document may lay out differently.
    bool DependsOnMedium = false;
};

// `medium` says which @media rules and LINK media of the document's style sheets apply:
// the screen's for the viewer, print's for printing and PDF.
THtmlParseResult HtmlParseFile(TSectionList& doc, TNameList& names, const std::string& path,
                               css::Medium medium = css::Medium::Screen);
// `base_dir`: the folder LINK and @import name style sheet files against (empty: such files
// are not read).
THtmlParseResult HtmlParseBuffer(TSectionList& doc, TNameList& names, std::string_view buffer,
                                 css::Medium medium = css::Medium::Screen,
                                 std::string base_dir = {});
THtmlParseResult HtmlParseStrings(TSectionList& doc, TNameList& names,
                                  const std::vector<std::string>& lines,
                                  css::Medium medium = css::Medium::Screen);
// The stream is read from its start.
THtmlParseResult HtmlParseStream(TSectionList& doc, TNameList& names, std::istream& in,
                                 css::Medium medium = css::Medium::Screen);

// Plain text: every line becomes a preformatted section in the fixed-pitch font.
THtmlParseResult HtmlParseTextFile(TSectionList& doc, TNameList& names, const std::string& path);
THtmlParseResult HtmlParseTextStrings(TSectionList& doc, TNameList& names,
                                      const std::vector<std::string>& lines);

}  // namespace quillon
