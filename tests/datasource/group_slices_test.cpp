#include "apps/datasource/group_slices.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <sstream>

namespace quillon::data {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

std::unique_ptr<DataSource> Csv(const std::string& text) {
    return OpenCsv(std::make_unique<std::istringstream>(text), "t.csv");
}

// "key:item,item|key:item" for every group read whole.
std::string ReadGroups(GroupSlices& groups, const std::set<std::string>& skip = {}) {
    std::string out;
    while (groups.NextGroup()) {
        if (skip.contains(groups.Key())) continue;
        out += (out.empty() ? "" : "|") + groups.Key() + ":";
        DataSource& records = groups.Records();
        while (records.Next()) out += std::string(records.Value(1)) + ",";
        EXPECT_FALSE(records.Next());  // stays at its end
    }
    return out;
}

TEST(GroupSlices, EveryRecordLandsInItsGroupOnceWhetherGroupsAreReadOrSkipped) {
    const std::string csv = "c,v\nA,1\nA,2\nB,3\nC,4\nC,5\nC,6\n";
    auto source = Csv(csv);
    GroupSlices groups(*source, 0, "c", "t.csv");
    EXPECT_EQ(ReadGroups(groups), "A:1,2,|B:3,|C:4,5,6,");
    EXPECT_FALSE(groups.NextGroup());

    source = Csv(csv);
    GroupSlices skipping(*source, 0, "c", "t.csv");
    EXPECT_EQ(ReadGroups(skipping, {"A", "C"}), "B:3,");

    // A group left half read: the next one starts at its own first record.
    source = Csv(csv);
    GroupSlices partly(*source, 0, "c", "t.csv");
    ASSERT_TRUE(partly.NextGroup());
    ASSERT_TRUE(partly.Records().Next());
    ASSERT_TRUE(partly.NextGroup());
    EXPECT_EQ(partly.Key(), "B");
    ASSERT_TRUE(partly.Records().Next());
    EXPECT_EQ(partly.Records().Value(1), "3");
    EXPECT_EQ(partly.RecordsInGroup(), 1u);
    EXPECT_THAT(partly.Records().Columns(), ElementsAre("c", "v"));

    source = Csv("c,v\n");
    GroupSlices none(*source, 0, "c", "t.csv");
    EXPECT_FALSE(none.NextGroup());
}

TEST(GroupSlices, AValueThatComesBackMeansUnsortedData) {
    auto source = Csv("c,v\nA,1\nB,2\nA,3\n");
    GroupSlices groups(*source, 0, "customer", "sales.csv");
    try {
        ReadGroups(groups);
        FAIL() << "no error";
    } catch (const DataSourceError& e) {
        EXPECT_THAT(e.what(), HasSubstr("sales.csv: record 3: the data is not sorted by "
                                        "customer: \"A\" comes again"));
    }
}

}  // namespace
}  // namespace quillon::data
