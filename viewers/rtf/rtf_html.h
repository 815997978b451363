#pragma once
// Turns what the RTF reader read (rtf_document.h) into an HTML document for Quillon's HTML
// engine, so that an RTF report prints through the same layout and paginator as an HTML
// one. The HTML uses only what that engine knows:
//
//   - every paragraph is a <DIV ALIGN=...> (justified text is set flush left); an empty
//     paragraph keeps the height of its font with a no-break space;
//   - bold, italic, underline, strike, superscript and subscript become B, I, U, S, SUP
//     and SUB; size, colour and font a FONT tag (SIZE is the nearest of the engine's seven
//     sizes, 8 to 36 points); a fixed-pitch font is also set in TT, so that columns stay
//     aligned when the named font is not installed;
//   - a line break is <BR>; a page break is <PAGE>, the engine's forced page break;
//   - blanks keep their width: a blank after a blank, or at the start of a line, is a
//     no-break space; a tab becomes no-break spaces up to the next multiple of eight
//     characters in its line;
//   - <, > and & in the text are written as entities. The HTML is UTF-8.

#include <string>
#include <string_view>

#include "viewers/rtf/rtf_document.h"

namespace quillon::rtf {

// The document as HTML, with `title` (UTF-8) as its TITLE when not empty.
std::string RtfToHtml(const RtfDocument& doc, std::string_view title = {});

// The HTML FONT SIZE (1..7) whose size in points lies nearest to `points`.
int HtmlFontSizeOf(double points);

}  // namespace quillon::rtf
