#pragma once
// The text of a document as its parser read it, kept by the viewer to parse the document
// again for printing. Read errors are raised as std::ios_base::failure.

#include <istream>
#include <string>
#include <vector>

namespace quillon {

// The bytes of the file at `path`.
std::string ReadWholeFile(const std::string& path);
// The stream from its start (it is rewound first).
std::string ReadWholeStream(std::istream& in);
// The lines, each followed by a carriage return, as the parser reads a list of lines.
std::string JoinLines(const std::vector<std::string>& lines);

}  // namespace quillon
