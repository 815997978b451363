#include <fstream>
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

class JsonSource : public DataSource {
  public:
    JsonSource(std::istream& in, const std::string& name) {
        if (!in) throw DataSourceError(name + ": cannot open the file");
        try {
            doc_ = nlohmann::ordered_json::parse(in);
        } catch (const nlohmann::ordered_json::parse_error& e) {
            throw DataSourceError(name + ": byte " + std::to_string(e.byte) + ": malformed JSON");
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
