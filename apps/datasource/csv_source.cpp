#include <csv.h>

#include <deque>
#include <fstream>

#include "apps/datasource/data_source.h"

namespace quillon::data {

namespace {

// Reads line by line and hands each line to the CSV parser, so that an error can name the
// line where it happened; quoted fields may still span lines.
class CsvSource : public DataSource {
  public:
    CsvSource(std::unique_ptr<std::istream> in, std::string name)
        : path_(std::move(name)), in_(std::move(in)) {
        if (!*in_) throw DataSourceError(path_ + ": cannot open the file");
        // Blanks around unquoted fields are data, as RFC 4180 says.
        csv_set_space_func(&parser_.p, [](unsigned char) { return 0; });
        if (!FillRows() || rows_.empty()) throw DataSourceError(path_ + ": no header row");
        columns_ = std::move(rows_.front().fields);
        rows_.pop_front();
        if (!columns_.empty() && columns_[0].starts_with("\xEF\xBB\xBF")) {
            columns_[0].erase(0, 3);
        }
    }
    const std::vector<std::string>& Columns() const override { return columns_; }

    bool Next() override {
        if (rows_.empty() && !FillRows()) return false;
        if (rows_.empty()) return false;
        current_ = std::move(rows_.front());
        rows_.pop_front();
        ++record_;
        if (current_.fields.size() != columns_.size()) {
            throw DataSourceError(path_ + ": line " + std::to_string(current_.line) +
                                  ": expected " + std::to_string(columns_.size()) +
                                  " fields, found " + std::to_string(current_.fields.size()));
        }
        return true;
    }

    std::string_view Value(std::size_t column) const override {
        return column < current_.fields.size() ? std::string_view(current_.fields[column])
                                               : std::string_view();
    }
    std::size_t RecordNumber() const override { return record_; }

  private:
    struct Row {
        std::vector<std::string> fields;
        std::size_t line = 0;  // line where the row began
    };

    static void OnField(void* data, std::size_t len, void* self) {
        auto* s = static_cast<CsvSource*>(self);
        if (s->pending_.fields.empty()) s->pending_.line = s->row_start_line_;
        s->pending_.fields.emplace_back(static_cast<const char*>(data), len);
        s->field_start_line_ = s->line_;  // the next field begins where this one ended
    }
    static void OnRow(int, void* self) {
        auto* s = static_cast<CsvSource*>(self);
        s->rows_.push_back(std::move(s->pending_));
        s->pending_ = Row{};
        s->row_start_line_ = s->line_ + 1;
        s->field_start_line_ = s->row_start_line_;
    }

    // Feeds lines until at least one row is complete; false at the end of the file.
    bool FillRows() {
        while (rows_.empty()) {
            if (finished_) return false;
            if (!std::getline(*in_, line_text_)) {
                finished_ = true;
                if (csv_fini(&parser_.p, OnField, OnRow, this) != 0) {
                    // Strict end of input fails only on a quoted field left open.
                    throw DataSourceError(path_ + ": line " + std::to_string(field_start_line_) +
                                          ": a quoted field opens here and is never closed");
                }
                return !rows_.empty();
            }
            ++line_;
            if (line_ == 1 && pending_.fields.empty()) row_start_line_ = field_start_line_ = 1;
            line_text_.push_back('\n');
            if (csv_parse(&parser_.p, line_text_.data(), line_text_.size(), OnField, OnRow, this) !=
                line_text_.size()) {
                ParseError();
            }
        }
        return true;
    }

    [[noreturn]] void ParseError() {
        const int error = csv_error(&parser_.p);
        std::string what = error == CSV_EPARSE
                               ? "a quote in a field: a quoted field must end with a quote "
                                 "followed by a comma or the line end, and a quote inside it "
                                 "is written twice"
                           : error == CSV_ETOOBIG ? "a field too large to read"
                           : error == CSV_ENOMEM  ? "out of memory"
                                                  : csv_strerror(error);
        throw DataSourceError(path_ + ": line " + std::to_string(line_) + ": " + what);
    }

    std::string path_;
    std::unique_ptr<std::istream> in_;
    // The parser's buffers, freed on every path, a throwing constructor included.
    struct Parser {
        Parser() {
            if (csv_init(&p, CSV_STRICT | CSV_STRICT_FINI) != 0) throw std::bad_alloc();
        }
        ~Parser() { csv_free(&p); }
        Parser(const Parser&) = delete;
        Parser& operator=(const Parser&) = delete;
        csv_parser p{};
    };
    Parser parser_;
    std::vector<std::string> columns_;
    std::deque<Row> rows_;
    Row pending_;
    Row current_;
    std::string line_text_;
    std::size_t line_ = 0;
    std::size_t row_start_line_ = 1;
    std::size_t field_start_line_ = 1;  // line where the field being read began
    std::size_t record_ = 0;
    bool finished_ = false;
};

}  // namespace

std::unique_ptr<DataSource> OpenCsv(const std::filesystem::path& path) {
    return std::make_unique<CsvSource>(std::make_unique<std::ifstream>(path, std::ios::binary),
                                       path.string());
}

std::unique_ptr<DataSource> OpenCsv(std::unique_ptr<std::istream> in, std::string name) {
    return std::make_unique<CsvSource>(std::move(in), std::move(name));
}

}  // namespace quillon::data
