#pragma once
// Puts an RTF document into a QTextDocument for the RTF viewer: one block per paragraph
// (alignment; a page break before it as PageBreak_AlwaysBefore) and one QTextCharFormat
// run per formatted run (bold, italic, underline, strike-out, super- and subscript, size
// in points, colour, font family).
//
//   QTextDocument doc;
//   quillon::LoadRtfIntoDocument(doc, bytes);  // throws rtf::ERtfError (a runtime_error)
//
// When the bytes cannot be read the document is left as it was.

#include <QTextDocument>
#include <string_view>

namespace quillon {

void LoadRtfIntoDocument(QTextDocument& doc, std::string_view rtf);

}  // namespace quillon
