#include <algorithm>
#include <fstream>
#include <iterator>
#include <nlohmann/json.hpp>
#include <unordered_map>

#include "apps/datasource/data_source.h"

namespace quillon::data {

namespace {

std::string ValueText(const nlohmann::ordered_json& v) {
    if (v.is_null()) return {};
    if (v.is_string()) return v.get<std::string>();
    return v.dump();  // numbers in their shortest exact form, booleans, nested values
}

// "line L, column C" of the byte at 1-based offset byte (columns count characters).
std::string Position(std::string_view text, std::size_t byte) {
    const std::size_t at = std::min(byte == 0 ? 0 : byte - 1, text.size());
    std::size_t line = 1;
    std::size_t column = 1;
    for (std::size_t i = 0; i < at; ++i) {
        if (text[i] == '\n') {
            ++line;
            column = 1;
        } else if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80) {
            ++column;
        }
    }
    return "line " + std::to_string(line) + ", column " + std::to_string(column);
}

// What the parser met, in a few words.
std::string Problem(std::string_view text, std::size_t byte) {
    if (byte > text.size()) return "the text ends before the JSON does";
    const std::size_t at = byte == 0 ? 0 : byte - 1;
    std::string_view near = text.substr(at, 12);
    near = near.substr(0, near.find_first_of("\r\n"));
    return near.empty() ? "unexpected line end" : "unexpected \"" + std::string(near) + "\"";
}

class JsonSource : public DataSource {
  public:
    JsonSource(std::istream& in, const std::string& name) {
        if (!in) throw DataSourceError(name + ": cannot open the file");
        const std::string text{std::istreambuf_iterator<char>(in),
                               std::istreambuf_iterator<char>()};
        try {
            doc_ = nlohmann::ordered_json::parse(text);
        } catch (const nlohmann::ordered_json::parse_error& e) {
            throw DataSourceError(name + ": " + Position(text, e.byte) +
                                  ": malformed JSON: " + Problem(text, e.byte));
        } catch (const nlohmann::ordered_json::exception& e) {
            // Numbers beyond the range of a double, and the like.
            throw DataSourceError(name + ": malformed JSON: " + e.what());
        }
        if (!doc_.is_array()) throw DataSourceError(name + ": expected an array of objects");
        std::unordered_map<std::string, std::size_t> seen;
        for (std::size_t i = 0; i < doc_.size(); ++i) {
            if (!doc_[i].is_object()) {
                throw DataSourceError(name + ": record " + std::to_string(i + 1) +
                                      ": expected an object");
            }
            for (const auto& [key, value] : doc_[i].items()) {
                if (seen.emplace(key, columns_.size()).second) columns_.push_back(key);
            }
        }
        values_.resize(columns_.size());
    }

    const std::vector<std::string>& Columns() const override { return columns_; }

    bool Next() override {
        if (record_ >= doc_.size()) return false;
        const auto& object = doc_[record_++];
        for (std::size_t c = 0; c < columns_.size(); ++c) {
            const auto it = object.find(columns_[c]);
            values_[c] = it == object.end() ? std::string() : ValueText(*it);
        }
        return true;
    }

    std::string_view Value(std::size_t column) const override {
        return column < values_.size() ? std::string_view(values_[column]) : std::string_view();
    }
    std::size_t RecordNumber() const override { return record_; }

  private:
    nlohmann::ordered_json doc_;
    std::vector<std::string> columns_;
    std::vector<std::string> values_;
    std::size_t record_ = 0;
};

}  // namespace

std::unique_ptr<DataSource> OpenJson(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::make_unique<JsonSource>(in, path.string());
}

std::unique_ptr<DataSource> OpenJson(std::istream& in, const std::string& name) {
    return std::make_unique<JsonSource>(in, name);
}

}  // namespace quillon::data
