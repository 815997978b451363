#pragma once
// What the data source tests share: every record of a source read whole, and the message
// of a reading error.

#include <functional>
#include <string>
#include <vector>

#include "apps/datasource/data_source.h"

namespace quillon::data::testing {

using Rows = std::vector<std::vector<std::string>>;

inline Rows ReadAll(DataSource& source) {
    Rows rows;
    while (source.Next()) {
        auto& row = rows.emplace_back();
        for (std::size_t c = 0; c < source.Columns().size(); ++c) row.emplace_back(source.Value(c));
    }
    return rows;
}

// The message of the DataSourceError that f throws, or "no error".
inline std::string ErrorOf(const std::function<void()>& f) {
    try {
        f();
    } catch (const DataSourceError& e) {
        return e.what();
    }
    return "no error";
}

}  // namespace quillon::data::testing
