#pragma once
// Walks the records of JSON text, one object at a time: the elements of a top-level array,
// or the objects of JSON Lines (one per line, blank lines skipped). Anything else where a
// record belongs is an error naming the record, its line and column.

#include <cstddef>
#include <string>
#include <string_view>

#include "apps/datasource/data_source.h"
#include "apps/datasource/json_reader.h"

namespace quillon::data {

class JsonRecords {
  public:
    // Where the members of a record go. Records mostly list their keys in one order: the
    // key expected next is matched in place, without reading it.
    class Sink {
      public:
        virtual ~Sink() = default;
        // The key the next member most likely has, or nullptr. Only a key written without
        // escapes is matched.
        virtual const std::string* Likely() = 0;
        // Where the value goes of the member whose key was Likely(); nullptr to check and
        // skip the value.
        virtual std::string* LikelySlot() = 0;
        // Where the value of another key goes; nullptr to check and skip it.
        virtual std::string* Slot(const std::string& key) = 0;
    };

    JsonRecords(JsonReader::ReadBlock read, std::string name, JsonForm form);

    // Reads the next record, handing its members to sink; false after the last one.
    bool Next(Sink& sink);
    // Records read so far.
    std::size_t Number() const { return number_; }
    // Throws "NAME: line L, column C: record N: what" for where reading stands.
    [[noreturn]] void Fail(std::string_view what);

  private:
    // Positions the reader at the next record's first byte; false at the end.
    bool FindArrayRecord();
    void Members(Sink& sink);

    JsonReader reader_;
    JsonForm form_;
    bool started_ = false;  // the array's opening bracket was read
    bool ended_ = false;
    std::size_t number_ = 0;
    std::string key_;
};

}  // namespace quillon::data
