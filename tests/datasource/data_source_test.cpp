#include "apps/datasource/data_source.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sqlite3.h>

#include <fstream>

#include "tests/common/temp_dir.h"
#include "tests/datasource/source_test_support.h"

namespace quillon::data {
namespace {

using testing::ErrorOf;
using testing::ReadAll;

using ::testing::ElementsAre;
using ::testing::HasSubstr;

// The test files of this process, in one directory removed at exit.
const quillon::testing::TempDir& Files() {
    static const quillon::testing::TempDir dir;
    return dir;
}

std::filesystem::path WriteFile(const std::string& name, const std::string& content) {
    return Files().Write(name, content);
}

TEST(CsvSource, QuotingBlanksAndByteOrderMark) {
    const auto path = WriteFile("q.csv",
                                "\xEF\xBB\xBF"
                                "Customer,Item,Amount\r\n"
                                "\"Smith, J.\",\"say \"\"hi\"\"\", 1.50\r\n"
                                "\"two\nlines\",,3\r\n"
                                "\r\n"
                                "Žemaitė,x,4");
    auto source = OpenCsv(path);
    EXPECT_THAT(source->Columns(), ElementsAre("Customer", "Item", "Amount"));
    EXPECT_EQ(source->ColumnIndex(" amount "), 2);
    EXPECT_EQ(source->ColumnIndex("price"), -1);
    const auto rows = ReadAll(*source);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_THAT(rows[0], ElementsAre("Smith, J.", "say \"hi\"", " 1.50"));
    EXPECT_THAT(rows[1], ElementsAre("two\nlines", "", "3"));
    EXPECT_THAT(rows[2], ElementsAre("Žemaitė", "x", "4"));
    EXPECT_EQ(source->RecordNumber(), 3u);
    EXPECT_FALSE(source->Next());
}

TEST(CsvSource, MalformedInputNamesTheLine) {
    const auto fields = WriteFile("f.csv", "a,b\n1,2\n3\n");
    auto source = OpenCsv(fields);
    EXPECT_TRUE(source->Next());
    EXPECT_THAT(ErrorOf([&] { source->Next(); }), HasSubstr("line 3: expected 2 fields, found 1"));

    const auto quote = WriteFile("u.csv", "a,b\n1,\"open\n2,3\n");
    // An unclosed quote is named where it opens, not where the file ends.
    EXPECT_THAT(ErrorOf([&] { ReadAll(*OpenCsv(quote)); }),
                HasSubstr("line 2: a quoted field opens here and is never closed"));
    const auto stray = WriteFile("s.csv", "a,b\n1,x\"y\n");
    EXPECT_THAT(ErrorOf([&] { ReadAll(*OpenCsv(stray)); }), HasSubstr("line 2"));
    EXPECT_THAT(ErrorOf([&] { OpenCsv("/nonexistent/x.csv"); }), HasSubstr("cannot open"));
    EXPECT_THAT(ErrorOf([&] { OpenCsv(WriteFile("e.csv", "")); }), HasSubstr("no header"));
}

TEST(JsonSource, ColumnsInOrderOfFirstAppearance) {
    const auto path = WriteFile("r.json",
                                R"([{"Customer":"A","Amount":1.5},
                                    {"Amount":2,"Note":null,"Paid":true},
                                    {"Customer":"C","Nested":{"x":1}}])");
    auto source = Open(path, {});
    EXPECT_THAT(source->Columns(), ElementsAre("Customer", "Amount", "Note", "Paid", "Nested"));
    const auto rows = ReadAll(*source);
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_THAT(rows[0], ElementsAre("A", "1.5", "", "", ""));
    EXPECT_THAT(rows[1], ElementsAre("", "2", "", "true", ""));
    EXPECT_THAT(rows[2], ElementsAre("C", "", "", "", "{\"x\":1}"));
}

TEST(JsonSource, MalformedInput) {
    EXPECT_THAT(ErrorOf([&] { OpenJson(WriteFile("b.json", "[{\"a\":1},")); }),
                HasSubstr("malformed JSON"));
    EXPECT_THAT(ErrorOf([&] { OpenJson(WriteFile("r.json", "[{\"a\":1E999}]")); }),
                HasSubstr("malformed JSON"));
    EXPECT_THAT(ErrorOf([&] { OpenJson(WriteFile("o.json", "{\"a\":1}")); }),
                HasSubstr("expected an array"));
    EXPECT_THAT(ErrorOf([&] { OpenJson(WriteFile("n.json", "[{\"a\":1}, 5]")); }),
                HasSubstr("record 2"));
}

TEST(SqliteSource, TablesQueriesAndNulls) {
    const quillon::testing::TempDir dir;
    const auto path = dir.Path() / "s.db";
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db,
                           "CREATE TABLE \"my \"\"sales\"\"\"(customer TEXT, amount REAL);"
                           "INSERT INTO \"my \"\"sales\"\"\" VALUES('A', 1.25),('B', NULL);",
                           nullptr, nullptr, nullptr),
              SQLITE_OK);
    sqlite3_close(db);

    auto table = Open(path, SqliteQuery{"", "my \"sales\""});
    EXPECT_THAT(table->Columns(), ElementsAre("customer", "amount"));
    const auto rows = ReadAll(*table);
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_THAT(rows[0], ElementsAre("A", "1.25"));
    EXPECT_THAT(rows[1], ElementsAre("B", ""));

    auto query =
        OpenSqlite(path, SqliteQuery{"SELECT sum(amount) AS total FROM \"my \"\"sales\"\"\"", ""});
    ASSERT_TRUE(query->Next());
    EXPECT_EQ(query->Value(0), "1.25");
    EXPECT_FALSE(query->Next());

    EXPECT_THAT(ErrorOf([&] {
                    OpenSqlite(path, SqliteQuery{"SELECT nope FROM x", ""});
                }),
                HasSubstr("cannot run the query"));
    EXPECT_THAT(ErrorOf([&] { OpenSqlite(path, SqliteQuery{}); }),
                HasSubstr("give a query or a table"));
    EXPECT_THAT(ErrorOf([&] {
                    OpenSqlite("/nonexistent.db", SqliteQuery{"SELECT 1", ""});
                }),
                HasSubstr("cannot open"));
}

}  // namespace
}  // namespace quillon::data
