#include "design/expert/handler_source.h"

#include <cctype>

namespace quillon::design {

namespace {

bool IsIdentifierChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) != 0 || c == '_';
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(a[i])) !=
            std::tolower(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

// The line names handler as a whole identifier right after "::" or ".".
bool DefinesHandler(std::string_view line, std::string_view handler) {
    if (handler.empty()) return false;
    for (std::size_t i = 0; i + handler.size() <= line.size(); ++i) {
        if (!SameIgnoringCase(line.substr(i, handler.size()), handler)) continue;
        const bool qualified =
            (i >= 1 && line[i - 1] == '.') || (i >= 2 && line.substr(i - 2, 2) == "::");
        const std::size_t end = i + handler.size();
        const bool whole = end == line.size() || !IsIdentifierChar(line[end]);
        if (qualified && whole) return true;
    }
    return false;
}

}  // namespace

std::optional<std::size_t> FindHandlerLine(const std::vector<std::string>& source,
                                           std::string_view handler) {
    for (std::size_t i = 0; i < source.size(); ++i) {
        if (DefinesHandler(source[i], handler)) return i;
    }
    return std::nullopt;
}

bool InsertIntoHandler(std::vector<std::string>& source, std::string_view handler,
                       const std::vector<std::string>& body) {
    const auto line = FindHandlerLine(source, handler);
    if (!line) return false;
    for (std::size_t i = *line; i < source.size(); ++i) {
        if (source[i].find('{') != std::string::npos) {
            source.insert(source.begin() + static_cast<std::ptrdiff_t>(i + 1), body.begin(),
                          body.end());
            return true;
        }
    }
    return false;
}

}  // namespace quillon::design
