#pragma once
// Splits the records of a source into its groups: the runs of consecutive records with the
// same value in one column. Each group is read as a data source of its own, in order, so a
// report can be run per group while the records stream past once.

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_set>

#include "apps/datasource/data_source.h"

namespace quillon::data {

class GroupSlices {
  public:
    // column: index of the group column in source. In messages, name stands for the column
    // and where for the source.
    GroupSlices(DataSource& source, std::size_t column, std::string name, std::string where);

    // Moves to the next group (skipping what is left of the current one); false when the
    // source has no more records. A value that comes back after other values means the data
    // is not sorted by the column: DataSourceError, since its records would be split.
    bool NextGroup();
    // The current group's value in the column.
    const std::string& Key() const { return key_; }
    // The current group's records; Next() is false at the group's end.
    DataSource& Records() { return slice_; }
    // Records of the current group delivered so far.
    std::size_t RecordsInGroup() const { return slice_.count; }

  private:
    class Slice : public DataSource {
      public:
        explicit Slice(GroupSlices& owner) : owner_(owner) {}
        const std::vector<std::string>& Columns() const override;
        bool Next() override;
        std::string_view Value(std::size_t column) const override;
        std::size_t RecordNumber() const override { return count; }

        std::size_t count = 0;
        bool done = true;

      private:
        GroupSlices& owner_;
    };

    DataSource& source_;
    std::size_t column_;
    std::string name_;
    std::string where_;
    std::string key_;
    Slice slice_{*this};
    bool pending_ = false;  // the source stands on the first record of a group not yet given
    bool ended_ = false;    // the source has no more records
    std::unordered_set<std::string> seen_;
};

}  // namespace quillon::data
