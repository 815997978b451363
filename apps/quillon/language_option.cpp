#include "apps/quillon/language_option.h"

#include <map>
#include <string>

#include "platform/core/text_encoding.h"

namespace quillon::app {

std::optional<TRepLanguage> ParseLanguage(std::string_view name) {
    static const std::map<std::string, TRepLanguage> kNames = {
        {"EN", laEnglish},      {"ENGLISH", laEnglish},      {"DE", laGerman},
        {"GERMAN", laGerman},   {"IT", laItalian},           {"ITALIAN", laItalian},
        {"FR", laFrench},       {"FRENCH", laFrench},        {"ES", laSpanish},
        {"SPANISH", laSpanish}, {"RU", laRussian},           {"RUSSIAN", laRussian},
        {"LT", laLithuanian},   {"LITHUANIAN", laLithuanian}};
    const auto it = kNames.find(text::AsciiUpperCase(name));
    if (it == kNames.end()) return std::nullopt;
    return it->second;
}

}  // namespace quillon::app
