#include "apps/datasource/csv_splitter.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <sstream>

#include "apps/datasource/data_source.h"

namespace quillon::data {
namespace {

using ::testing::ElementsAre;
using ::testing::HasSubstr;

using Records = std::vector<std::vector<std::string>>;

// Splits text handed over at most `chunk` bytes per read into blocks of `block` bytes.
Records Split(std::string_view text, std::size_t block, std::size_t chunk,
              std::string* error = nullptr) {
    std::size_t at = 0;
    CsvSplitter splitter(
        [&](char* buffer, std::size_t size) {
            const std::size_t n = std::min({size, chunk, text.size() - at});
            std::memcpy(buffer, text.data() + at, n);
            at += n;
            return n;
        },
        block);
    Records records;
    while (splitter.Next()) {
        records.emplace_back(splitter.Fields().begin(), splitter.Fields().end());
        std::string line = "@";
        line += std::to_string(splitter.Line());
        records.back().push_back(std::move(line));
    }
    if (error != nullptr && splitter.Failed() != nullptr) {
        *error = "line " + std::to_string(splitter.Failed()->line) + ": " + splitter.Failed()->what;
    }
    return records;
}

TEST(CsvSplitter, EveryBlockAndReadSizeGivesTheSameRecords) {
    // Quoted commas, doubled quotes, line breaks inside quotes, CR LF, a lone CR, empty
    // lines and fields, blanks kept, a byte order mark, no line end at the end.
    const std::string text =
        "\xEF\xBB\xBF\"a\",b,c\r\n"
        "\"x, y\",\"say \"\"hi\"\"\", 1.5 \r\n"
        "\r\n"
        "\"two\nlines\",,\"\"\n"
        "\n"
        "p,q,r\r"
        "\"\"\"\",\"\"\"x\"\"\",\"end\"\"\"\n"
        ",,\n"
        "last,row,here";
    const Records expected = {
        {"a", "b", "c", "@1"},          {"x, y", "say \"hi\"", " 1.5 ", "@2"},
        {"two\nlines", "", "", "@4"},   {"p", "q", "r", "@7"},
        {"\"", "\"x\"", "end\"", "@7"}, {"", "", "", "@8"},
        {"last", "row", "here", "@9"},
    };
    EXPECT_EQ(Split(text, 1 << 16, text.size()), expected);
    for (std::size_t block = 1; block <= 24; ++block) {
        for (const std::size_t chunk : {std::size_t{1}, std::size_t{3}, std::size_t{7}, block}) {
            EXPECT_EQ(Split(text, block, chunk), expected) << block << " " << chunk;
        }
    }
}

TEST(CsvSplitter, MalformedTextNamesTheLineOfTheFault) {
    struct Case {
        std::string text;
        std::string error;
    };
    const Case cases[] = {
        {"a,b\n1,x\"y\n", "line 2: a quote inside a field"},
        {"a,b\n\"1\"x,2\n", "line 2: text follows the closing quote"},
        {"a,b\n1,\"open\n2,3\n", "line 2: a quoted field opens here and is never closed"},
        {"a,b\n1,\"open\n2,3", "line 2: a quoted field opens here and is never closed"},
        {"a,b\n\"1\n\n\"\"\",\"x\ny\" z\n", "line 5: text follows the closing quote"},
    };
    for (const Case& c : cases) {
        for (const std::size_t block : {std::size_t{2}, std::size_t{5}, std::size_t{4096}}) {
            std::string error;
            Split(c.text, block, block, &error);
            EXPECT_THAT(error, HasSubstr(c.error)) << c.text << " block " << block;
        }
    }
}

TEST(CsvSplitter, RecordsLongerThanTheBlockAndBlankOnlyText) {
    const std::string big(100000, 'x');
    const Records records = Split("h\n\"" + big + "\"\n" + big + "\n", 64, 1000);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[1][0], big);
    EXPECT_EQ(records[2][0], big);
    EXPECT_TRUE(Split("\r\n\n\r", 4, 4).empty());
    EXPECT_TRUE(Split("", 4, 4).empty());
}

TEST(CsvSplitter, FieldsOfEveryLengthEndAtTheirFirstSeparator) {
    // Unquoted fields of 0 to 19 bytes made of bytes next to the separators in value
    // (and of UTF-8 and other high bytes), each ended by every kind of separator, so that
    // the separator falls at every place of a word of eight bytes.
    const std::string bytes = "+-!#\x0b\x0e\x01\x7f\xc3\xa9\xff\x80 x";
    for (std::size_t length = 0; length < 20; ++length) {
        std::string field;
        for (std::size_t i = 0; i < length; ++i) field += bytes[(i + length) % bytes.size()];
        const std::string text = "h1,h2\n" + field + "," + field + "\r\n" + field + ",z\r" + "z," +
                                 field + "\n" + field + "," + field;
        const Records expected = {{"h1", "h2", "@1"},
                                  {field, field, "@2"},
                                  {field, "z", "@3"},
                                  {"z", field, "@3"},
                                  {field, field, "@4"}};
        EXPECT_EQ(Split(text, 1 << 16, text.size()), expected) << length;
        EXPECT_EQ(Split(text, 5, 3), expected) << length;
        // A quote at any place after the first byte of a long unquoted field is found.
        std::string quoted = "h\n" + std::string(21, 'a');
        quoted[3 + length] = '"';
        std::string error;
        Split(quoted + "\n", 1 << 16, quoted.size() + 1, &error);
        EXPECT_THAT(error, HasSubstr("line 2: a quote inside a field")) << length;
    }
}

// Through the data source: the line of a short record after empty lines, and a quoted
// first header behind a byte order mark.
TEST(CsvSource, LinesCountEmptyLinesAndAMarkedHeaderMayBeQuoted) {
    auto source = OpenCsv(std::make_unique<std::istringstream>("a,b\n1,2\n\n\n3\n"), "t.csv");
    EXPECT_TRUE(source->Next());
    try {
        source->Next();
        ADD_FAILURE() << "no error";
    } catch (const DataSourceError& e) {
        EXPECT_THAT(e.what(), HasSubstr("t.csv: line 5: expected 2 fields, found 1"));
    }
    auto marked = OpenCsv(
        std::make_unique<std::istringstream>("\xEF\xBB\xBF\"Customer\",\"Amount\"\r\nA,1\r\n"),
        "m.csv");
    EXPECT_THAT(marked->Columns(), ElementsAre("Customer", "Amount"));
    ASSERT_TRUE(marked->Next());
    EXPECT_EQ(marked->Value(0), "A");
    EXPECT_EQ(marked->Value(5), "");
    EXPECT_FALSE(marked->Next());
}

}  // namespace
}  // namespace quillon::data
