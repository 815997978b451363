#pragma once
// Where format files are looked up: GetAliasDir gives the directory put in front of a
// format file name that is not absolute.

#include <optional>
#include <string>
#include <string_view>

#include "engine/messages.h"

namespace quillon {

// The directory put in front of a format file name: empty while designing, empty when
// check_format_file is set and format_file is absolute, else the directory of the running
// executable ending in "/". The decision is taken for the one file passed in; callers ask
// once per file property. When the executable cannot be found, "GetModuleFileName Error"
// is shown and the result is empty.
std::string GetAliasDir(bool check_format_file, std::string_view format_file, bool designing,
                        const MessageRoutine& message);
// "/..." or, for names written on Windows, "C:..." or "\...".
bool IsAbsoluteFormatPath(std::string_view file_name);

// The directory of the running executable, ending in "/", or nullopt.
std::optional<std::string> ExecutableDir();

}  // namespace quillon
