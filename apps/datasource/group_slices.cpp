#include "apps/datasource/group_slices.h"

namespace quillon::data {

GroupSlices::GroupSlices(DataSource& source, std::size_t column, std::string name,
                         std::string where)
    : source_(source), column_(column), name_(std::move(name)), where_(std::move(where)) {}

bool GroupSlices::NextGroup() {
    while (slice_.Next()) {
    }
    if (ended_) return false;
    if (!pending_) {
        if (!source_.Next()) {
            ended_ = true;
            return false;
        }
        pending_ = true;
    }
    key_.assign(source_.Value(column_));
    if (!seen_.insert(key_).second) {
        throw DataSourceError(where_ + ": record " + std::to_string(source_.RecordNumber()) +
                              ": the data is not sorted by " + name_ + ": \"" + key_ +
                              "\" comes again after other values");
    }
    slice_.count = 0;
    slice_.done = false;
    return true;
}

const std::vector<std::string>& GroupSlices::Slice::Columns() const {
    return owner_.source_.Columns();
}

bool GroupSlices::Slice::Next() {
    if (done) return false;
    GroupSlices& o = owner_;
    if (o.pending_) {
        o.pending_ = false;
    } else if (!o.source_.Next()) {
        o.ended_ = true;
        done = true;
        return false;
    } else if (o.source_.Value(o.column_) != o.key_) {
        o.pending_ = true;
        done = true;
        return false;
    }
    ++count;
    return true;
}

std::string_view GroupSlices::Slice::Value(std::size_t column) const {
    return owner_.source_.Value(column);
}

}  // namespace quillon::data
