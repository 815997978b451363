#include "apps/datasource/data_source.h"

#include "platform/core/text_encoding.h"

namespace quillon::data {

int DataSource::ColumnIndex(std::string_view name) const {
    const auto& columns = Columns();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (text::EqualsIgnoreCase(columns[i], text::Trim(name))) return static_cast<int>(i);
    }
    return -1;
}

std::unique_ptr<DataSource> Open(const std::filesystem::path& path, const SqliteQuery& query) {
    const std::string ext = text::AsciiUpperCase(path.extension().string());
    if (ext == ".CSV") return OpenCsv(path);
    if (ext == ".JSON") return OpenJson(path);
    return OpenSqlite(path, query);
}

}  // namespace quillon::data
