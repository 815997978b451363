#include "apps/quillon/burst_output.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <set>
#include <string>

namespace quillon::app {
namespace {

using ::testing::HasSubstr;

TEST(BurstOutput, PatternTakesExactlyTheSplitColumnInAnyCase) {
    std::string error;
    const auto p = ParseBurstPattern("out/invoice-{Customer}.pdf", "CUSTOMER", error);
    ASSERT_TRUE(p) << error;
    EXPECT_EQ(p->before, "out/invoice-");
    EXPECT_EQ(p->after, ".pdf");
    for (const char* bad : {"invoice.pdf", "{city}.pdf", "{customer}-{customer}.pdf",
                            "{customer.pdf", "a{b}{customer}.pdf"}) {
        error.clear();
        EXPECT_FALSE(ParseBurstPattern(bad, "customer", error)) << bad;
        EXPECT_THAT(error, HasSubstr("{customer}")) << bad;
    }
}

TEST(BurstOutput, ValuesBecomeNamesThatStayInTheFolderAndNeverCoincide) {
    EXPECT_EQ(SafeFileNamePart("Alpha GmbH"), "Alpha GmbH");
    EXPECT_EQ(SafeFileNamePart("../etc/passwd"), "%2E.%2Fetc%2Fpasswd");
    EXPECT_EQ(SafeFileNamePart(".hidden"), "%2Ehidden");
    EXPECT_EQ(SafeFileNamePart("a\\b\tc\x7f"), "a%5Cb%09c%7F");
    EXPECT_EQ(SafeFileNamePart(""), "%20");
    EXPECT_EQ(SafeFileNamePart("Caf\xC3\xA9"), "Caf\xC3\xA9");
    // Escaping '%' keeps different values apart: "a/b" and "a%2Fb" are two files.
    std::set<std::string> names;
    for (const char* v : {"a/b", "a%2Fb", "a_b", "", " ", "%20", ".x", "%2Ex"}) {
        EXPECT_TRUE(names.insert(SafeFileNamePart(v)).second) << v;
    }
    // A long value is cut before a character, never inside one.
    std::string long_value;
    for (int i = 0; i < 200; ++i) long_value += "\xC3\xA9";
    const std::string cut = SafeFileNamePart(long_value);
    EXPECT_LT(cut.size(), 200u);
    EXPECT_EQ(cut.size() % 2, 0u);
}

TEST(BurstOutput, ANameGivenTwiceGetsANumberBeforeItsExtension) {
    BurstNames names(BurstPattern{"dir.v2/inv-", ".pdf"});
    const std::string long_a = std::string(300, 'x') + "a";
    const std::string long_b = std::string(300, 'x') + "b";
    const std::string first = names.For(long_a);
    const std::string second = names.For(long_b);
    EXPECT_NE(first, second);
    EXPECT_EQ(second, first.substr(0, first.size() - 4) + "-2.pdf");
    EXPECT_EQ(names.For("Alpha"), "dir.v2/inv-Alpha.pdf");
    BurstNames bare(BurstPattern{"dir.v2/", ""});
    bare.For(long_a);
    EXPECT_EQ(bare.For(long_b).substr(0, 7), "dir.v2/");
    EXPECT_EQ(bare.For(long_b).find("dir.v2-"), std::string::npos);
}

TEST(BurstOutput, ShardsTakeEveryValueExactlyOnceAndStably) {
    std::string error;
    EXPECT_FALSE(ParseShard("2/2", error));
    EXPECT_FALSE(ParseShard("1", error));
    EXPECT_FALSE(ParseShard("0/0", error));
    EXPECT_FALSE(ParseShard("-1/3", error));
    EXPECT_FALSE(ParseShard("1/3x", error));
    const auto s = ParseShard("1/3", error);
    ASSERT_TRUE(s);
    EXPECT_EQ(s->index, 1u);
    EXPECT_EQ(s->count, 3u);
    int taken[3] = {0, 0, 0};
    for (int v = 0; v < 300; ++v) {
        int owners = 0;
        for (std::uint64_t k = 0; k < 3; ++k) {
            if (InShard("customer " + std::to_string(v), Shard{k, 3})) {
                ++owners;
                ++taken[k];
            }
        }
        EXPECT_EQ(owners, 1) << v;
    }
    for (const int t : taken) EXPECT_GT(t, 60);  // spread, not all in one shard
    // The hash is part of the command's contract: runs on other machines must agree.
    EXPECT_TRUE(InShard("", Shard{14695981039346656037ull % 7, 7}));
}

TEST(BurstOutput, ManifestLinesAreJson) {
    EXPECT_EQ(ManifestLine("a\"b.pdf", "x\\y\n", 3, 2),
              "{\"file\":\"a\\\"b.pdf\",\"group\":\"x\\\\y\\u000a\",\"records\":3,\"pages\":2}\n");
}

}  // namespace
}  // namespace quillon::app
