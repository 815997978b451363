#include "apps/datasource/csv_splitter.h"
#include "apps/datasource/data_source.h"
#include "apps/datasource/file_blocks.h"

namespace quillon::data {

namespace {

// Records of a CSV text with a header row; every record must have the header's number of
// fields. Messages name the line where the faulty record begins (or the fault is).
class CsvSource : public DataSource {
  public:
    CsvSource(CsvSplitter::ReadBlock read, std::string name)
        : path_(std::move(name)), splitter_(std::move(read)) {
        if (!splitter_.Next()) {
            ThrowIfFailed();
            throw DataSourceError(path_ + ": no header row");
        }
        columns_.assign(splitter_.Fields().begin(), splitter_.Fields().end());
    }
    const std::vector<std::string>& Columns() const override { return columns_; }

    bool Next() override {
        if (!splitter_.Next()) {
            ThrowIfFailed();
            return false;
        }
        ++record_;
        const std::size_t found = splitter_.Fields().size();
        if (found != columns_.size()) {
            throw DataSourceError(path_ + ": line " + std::to_string(splitter_.Line()) +
                                  ": expected " + std::to_string(columns_.size()) +
                                  " fields, found " + std::to_string(found));
        }
        return true;
    }

    std::string_view Value(std::size_t column) const override {
        const auto& fields = splitter_.Fields();
        return column < fields.size() ? fields[column] : std::string_view();
    }
    std::size_t RecordNumber() const override { return record_; }

  private:
    void ThrowIfFailed() const {
        if (const CsvSplitter::Error* error = splitter_.Failed()) {
            throw DataSourceError(path_ + ": line " + std::to_string(error->line) + ": " +
                                  error->what);
        }
    }

    std::string path_;
    CsvSplitter splitter_;
    std::vector<std::string> columns_;
    std::size_t record_ = 0;
};

}  // namespace

std::unique_ptr<DataSource> OpenCsv(const std::filesystem::path& path) {
    std::string name = path.string();
    auto file = std::make_shared<FileBlocks>(path, name);
    if (!file->IsOpen()) throw DataSourceError(name + ": cannot open the file");
    return std::make_unique<CsvSource>(
        [file](char* buffer, std::size_t size) { return file->Read(buffer, size); }, name);
}

std::unique_ptr<DataSource> OpenCsv(std::unique_ptr<std::istream> in, std::string name) {
    if (!*in) throw DataSourceError(name + ": cannot open the file");
    std::shared_ptr<std::istream> stream(std::move(in));
    return std::make_unique<CsvSource>(
        [stream](char* buffer, std::size_t size) -> std::size_t {
            stream->read(buffer, static_cast<std::streamsize>(size));
            return static_cast<std::size_t>(stream->gcount());
        },
        std::move(name));
}

}  // namespace quillon::data
