#pragma once
// Finding an event handler in a unit's source and putting code into it. A handler is the
// definition "... Form::Handler(...)": its identifier qualified by "::" (or "."), matched
// whole and without regard to case, so "Report1Next" never matches "Report1NextPage".

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::design {

// The index of the first line that defines handler, or nullopt.
std::optional<std::size_t> FindHandlerLine(const std::vector<std::string>& source,
                                           std::string_view handler);

// Inserts body just after the opening line of the handler (the first line at or after its
// definition that holds "{"). False when the handler or its opening line is missing.
bool InsertIntoHandler(std::vector<std::string>& source, std::string_view handler,
                       const std::vector<std::string>& body);

}  // namespace quillon::design
