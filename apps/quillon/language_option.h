#pragma once
// The --lang option of the commands: a message language by its English name or its
// two-letter code, in any case.

#include <optional>
#include <string_view>

#include "engine/messages.h"

namespace quillon::app {

// laEnglish for "english" or "EN", ...; nothing for a name that is none of the seven.
std::optional<TRepLanguage> ParseLanguage(std::string_view name);

}  // namespace quillon::app
