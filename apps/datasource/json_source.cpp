#include <optional>
#include <unordered_map>

#include "apps/datasource/data_source.h"
#include "apps/datasource/file_blocks.h"
#include "apps/datasource/json_records.h"

namespace quillon::data {

namespace {

// The columns of a JSON source and the values of its current record.
class JsonSource : public DataSource {
  public:
    // read delivers the text from its start; rewind, when the text can be read again,
    // goes back to its start for a second pass.
    JsonSource(const JsonReader::ReadBlock& read, const std::function<void()>& rewind,
               const std::string& name, JsonForm form) {
        if (rewind) {
            CollectColumns(JsonRecords(read, name, form));
            rewind();
            records_.emplace(read, name, form);
            values_.resize(columns_.size());
            return;
        }
        // Read once: the first record gives the columns and waits to be delivered.
        stream_ = true;
        records_.emplace(read, name, form);
        pending_ = records_->Next([this](const std::string& key) {
            const auto [it, added] = index_.emplace(key, columns_.size());
            if (added) {
                columns_.push_back(key);
                values_.emplace_back();
            }
            return &values_[it->second];
        });
    }

    const std::vector<std::string>& Columns() const override { return columns_; }

    bool Next() override {
        if (pending_) {
            pending_ = false;
            return true;
        }
        for (std::string& value : values_) value.clear();
        expected_ = 0;
        return records_->Next([this](const std::string& key) { return &values_[IndexOf(key)]; });
    }

    std::string_view Value(std::size_t column) const override {
        return column < values_.size() ? std::string_view(values_[column]) : std::string_view();
    }
    std::size_t RecordNumber() const override { return records_->Number() - (pending_ ? 1 : 0); }

  private:
    // The first pass: every record is checked, its keys become columns.
    void CollectColumns(JsonRecords scan) {
        while (scan.Next([this](const std::string& key) -> std::string* {
            IndexOf(key, true);
            return nullptr;
        })) {
            expected_ = 0;
        }
    }

    // The column of key; records mostly list their keys in the columns' order, so the
    // column after the previous key is tried first. add: a new key becomes a column.
    std::size_t IndexOf(const std::string& key, bool add = false) {
        if (expected_ < columns_.size() && columns_[expected_] == key) return expected_++;
        const auto it = index_.find(key);
        if (it != index_.end()) {
            expected_ = it->second + 1;
            return it->second;
        }
        if (add) {
            index_.emplace(key, columns_.size());
            columns_.push_back(key);
            expected_ = columns_.size();
            return columns_.size() - 1;
        }
        if (stream_) {
            records_->Fail("the key \"" + key +
                           "\" is not in the first record (read once, as from a pipe, the "
                           "columns are the first record's keys)");
        }
        records_->Fail("the key \"" + key +
                       "\" was not there when the file was first read "
                       "(the file changed while it was read)");
    }

    std::optional<JsonRecords> records_;  // the pass that delivers the records
    std::vector<std::string> columns_;
    std::unordered_map<std::string, std::size_t> index_;
    std::vector<std::string> values_;
    std::size_t expected_ = 0;  // the column most likely named by the next key
    bool stream_ = false;
    bool pending_ = false;  // the first record was read to learn the columns
};

}  // namespace

std::unique_ptr<DataSource> OpenJson(const std::filesystem::path& path, JsonForm form) {
    const std::string name = path.string();
    auto file = std::make_shared<FileBlocks>(path, name);
    if (!file->IsOpen()) throw DataSourceError(name + ": cannot open the file");
    const JsonReader::ReadBlock read = [file](char* buffer, std::size_t size) {
        return file->Read(buffer, size);
    };
    std::function<void()> rewind;
    if (file->IsRegular()) rewind = [file] { file->Rewind(); };
    return std::make_unique<JsonSource>(read, rewind, name, form);
}

std::unique_ptr<DataSource> OpenJson(std::unique_ptr<std::istream> in, std::string name,
                                     JsonForm form) {
    if (!*in) throw DataSourceError(name + ": cannot open the file");
    std::shared_ptr<std::istream> stream(std::move(in));
    const JsonReader::ReadBlock read = [stream](char* buffer, std::size_t size) -> std::size_t {
        stream->read(buffer, static_cast<std::streamsize>(size));
        return static_cast<std::size_t>(stream->gcount());
    };
    return std::make_unique<JsonSource>(read, nullptr, name, form);
}

}  // namespace quillon::data
