#pragma once
// A stable, compact text form of a document model, one block per line, for tests and for
// `quillon html-dump`. Nested content (table rows, cells, form controls, map areas) is
// indented by two spaces per level.
//
//   document base="Times New Roman" fixed="Courier New" size=12 text=#000000 ...
//   section: {12} "Hello " {12 B} "world" [img "a.gif" width=10 left]
//   space h=14
//   heading-space 1 h=16
//   rule size=2 width=50% h=20
//   page
//   table border padding=2 spacing=3 (width=100% collapse ...)
//     row
//       cell span=2x1 valign=top
//         section: {12} "x"
//   form method=Get action="/cgi"
//     edit name="q" value="" size=20
//   map "NAV"
//     area rect 0,0,10,10 href="a.htm"
//
// A font run shows the nominal size, "fixed" for the fixed-pitch face, a face name that
// differs from the document's, styles B I U S, a colour that differs from the document's
// text (or link) colour, sub/sup and its link. Text is quoted with C-style escapes.

#include <string>

namespace quillon {

class TCell;
class TSectionList;

// The sections of a cell (or the document), without the header, forms and maps.
std::string DumpSections(const TCell& cell);
// The whole document: header line, sections, forms with their controls, image maps.
std::string DumpDocument(const TSectionList& doc);

}  // namespace quillon
