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

SourceKind KindOf(const std::filesystem::path& path) {
    const std::string ext = text::AsciiUpperCase(path.extension().string());
    if (ext == ".CSV") return SourceKind::kCsv;
    if (ext == ".JSON") return SourceKind::kJson;
    if (ext == ".JSONL" || ext == ".NDJSON") return SourceKind::kJsonLines;
    return SourceKind::kSqlite;
}

std::unique_ptr<DataSource> Open(const std::filesystem::path& path, SourceKind kind,
                                 const SqliteQuery& query) {
    switch (kind) {
        case SourceKind::kCsv:
            return OpenCsv(path);
        case SourceKind::kJson:
            return OpenJson(path, JsonForm::kArray);
        case SourceKind::kJsonLines:
            return OpenJson(path, JsonForm::kLines);
        case SourceKind::kSqlite:
            break;
    }
    return OpenSqlite(path, query);
}

std::unique_ptr<DataSource> Open(const std::filesystem::path& path, const SqliteQuery& query) {
    return Open(path, KindOf(path), query);
}

}  // namespace quillon::data
