#pragma once
// Rich text (RTF) read into a QTextDocument, for the RTF report viewer.

#include <string_view>

class QTextDocument;

namespace quillon {

// Replaces the content of doc with the document rtf. Throws std::runtime_error when rtf
// cannot be read as rich text.
void LoadRtfIntoDocument(QTextDocument& doc, std::string_view rtf);

}  // namespace quillon
