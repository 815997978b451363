#pragma once
// From a link or a loader's file name to a local file: file URLs, server-rooted names,
// names relative to the document's base or folder. File names keep their case (the file
// system is case-sensitive) and two names are the same file when their canonical paths
// are equal.

#include <string>
#include <string_view>

namespace quillon {

struct ExpandContext {
    std::string ServerRoot;   // prefixed to names starting with "/" (when not empty)
    std::string Base;         // the document's BASE; "DosPath" (any case): none
    std::string CurrentFile;  // the document shown; its folder resolves relative names
};

// A name as a local path: "file://" URLs become paths (percent escapes decoded, a
// "localhost" host dropped), backslashes become slashes, and with a server root a name
// starting with "/" (not from a file URL) is placed under it.
std::string UrlToLocalPath(std::string_view name, std::string_view server_root);

// The full, lexically normal path of a link or file name.
std::string ExpandViewerFilename(std::string_view name, const ExpandContext& ctx);

// Whether two names lead to the same file (canonical paths; names of missing files are
// compared in their absolute normal form).
bool SameFile(std::string_view a, std::string_view b);

// "file.htm#dest" -> {"file.htm", "dest"}; without "#" the destination is empty.
struct FileAndDest {
    std::string File;
    std::string Dest;
};
FileAndDest SplitDestination(std::string_view name);

// What following a link to that file does, by its extension (any case).
enum class TLinkedFileKind { Html, Image, Other };
TLinkedFileKind LinkedFileKind(std::string_view path);

// ServerRoot as stored: trimmed, without trailing slashes or backslashes.
std::string NormalServerRoot(std::string_view root);

}  // namespace quillon
