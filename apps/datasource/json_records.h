#pragma once
// Walks the records of JSON text, one object at a time: the elements of a top-level array,
// or the objects of JSON Lines (one per line, blank lines skipped). Anything else where a
// record belongs is an error naming the record, its line and column.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "apps/datasource/data_source.h"
#include "apps/datasource/json_reader.h"

namespace quillon::data {

class JsonRecords {
  public:
    // For each member of a record: where its value goes, or nullptr to check and skip it.
    using Slot = std::function<std::string*(const std::string& key)>;

    JsonRecords(JsonReader::ReadBlock read, std::string name, JsonForm form);

    // Reads the next record, handing its members to slot; false after the last one.
    bool Next(const Slot& slot);
    // Records read so far.
    std::size_t Number() const { return number_; }
    // Throws "NAME: line L, column C: record N: what" for where reading stands.
    [[noreturn]] void Fail(std::string_view what);

  private:
    // Positions the reader at the next record's first byte; false at the end.
    bool FindArrayRecord();
    void Members(const Slot& slot);

    JsonReader reader_;
    JsonForm form_;
    bool started_ = false;  // the array's opening bracket was read
    bool ended_ = false;
    std::size_t number_ = 0;
    std::string key_;
};

}  // namespace quillon::data
