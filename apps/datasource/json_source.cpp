#include <optional>
#include <unordered_map>

#include "apps/datasource/data_source.h"
#include "apps/datasource/file_blocks.h"
#include "apps/datasource/json_records.h"

namespace quillon::data {

namespace {

// A key that TakePlainString can match in place: no escape is needed to write it.
bool IsPlain(std::string_view key) {
    for (const char c : key) {
        if (c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20) return false;
    }
    return true;
}

// The columns of a JSON source and the values of its current record.
class JsonSource : public DataSource, private JsonRecords::Sink {
  public:
    // read delivers the text from its start; rewind, when the text can be read again,
    // goes back to its start for a second pass.
    JsonSource(const JsonReader::ReadBlock& read, const std::function<void()>& rewind,
               const std::string& name, JsonForm form) {
        if (rewind) {
            // The first pass: every record is checked, its keys become columns.
            JsonRecords scan(read, name, form);
            mode_ = Mode::kCollect;
            while (scan.Next(*this)) expected_ = 0;
            rewind();
            records_.emplace(read, name, form);
            values_.resize(columns_.size());
            mode_ = Mode::kDeliver;
            return;
        }
        // Read once: the first record gives the columns and waits to be delivered.
        mode_ = Mode::kFirstOfStream;
        records_.emplace(read, name, form);
        pending_ = records_->Next(*this);
        mode_ = Mode::kDeliverStream;
    }

    const std::vector<std::string>& Columns() const override { return columns_; }

    bool Next() override {
        if (pending_) {
            pending_ = false;
            return true;
        }
        for (std::string& value : values_) value.clear();
        expected_ = 0;
        return records_->Next(*this);
    }

    std::string_view Value(std::size_t column) const override {
        return column < values_.size() ? std::string_view(values_[column]) : std::string_view();
    }
    std::size_t RecordNumber() const override { return records_->Number() - (pending_ ? 1 : 0); }

  private:
    enum class Mode { kCollect, kFirstOfStream, kDeliver, kDeliverStream };

    const std::string* Likely() override {
        return expected_ < columns_.size() && plain_[expected_] != 0 ? &columns_[expected_]
                                                                     : nullptr;
    }
    std::string* LikelySlot() override {
        const std::size_t column = expected_++;
        return mode_ == Mode::kCollect ? nullptr : &values_[column];
    }
    std::string* Slot(const std::string& key) override {
        const auto it = index_.find(key);
        if (it != index_.end()) {
            expected_ = it->second + 1;
            return mode_ == Mode::kCollect ? nullptr : &values_[it->second];
        }
        switch (mode_) {
            case Mode::kCollect:
            case Mode::kFirstOfStream:
                index_.emplace(key, columns_.size());
                columns_.push_back(key);
                plain_.push_back(IsPlain(key) ? 1 : 0);
                expected_ = columns_.size();
                if (mode_ == Mode::kCollect) return nullptr;
                return &values_.emplace_back();
            case Mode::kDeliverStream:
                records_->Fail("the key \"" + key +
                               "\" is not in the first record (read once, as from a pipe, the "
                               "columns are the first record's keys)");
            case Mode::kDeliver:
                break;
        }
        records_->Fail("the key \"" + key +
                       "\" was not there when the file was first read (the file changed while "
                       "it was read)");
    }

    Mode mode_ = Mode::kCollect;
    std::optional<JsonRecords> records_;  // the pass that delivers the records
    std::vector<std::string> columns_;
    std::vector<char> plain_;  // per column: IsPlain
    std::unordered_map<std::string, std::size_t> index_;
    std::vector<std::string> values_;
    std::size_t expected_ = 0;  // the column most likely named by the next key
    bool pending_ = false;      // the first record was read to learn the columns
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
        return static_cast<std::size_t>(
            stream->read(buffer, static_cast<std::streamsize>(size)).gcount());
    };
    return std::make_unique<JsonSource>(read, nullptr, name, form);
}

}  // namespace quillon::data
