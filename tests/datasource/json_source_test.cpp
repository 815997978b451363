#include <sys/stat.h>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <thread>

#include "apps/datasource/data_source.h"
#include "apps/datasource/json_records.h"
#include "tests/common/temp_dir.h"
#include "tests/datasource/source_test_support.h"

namespace quillon::data {
namespace {

using testing::ErrorOf;
using testing::ReadAll;
using testing::Rows;

using ::testing::ElementsAre;
using ::testing::HasSubstr;

const quillon::testing::TempDir& Files() {
    static const quillon::testing::TempDir dir;
    return dir;
}

std::unique_ptr<DataSource> FromText(const std::string& text, JsonForm form = JsonForm::kArray) {
    return OpenJson(std::make_unique<std::istringstream>(text), "in.json", form);
}

// The error of reading a file with this text to its end.
std::string FileError(const std::string& text, JsonForm form = JsonForm::kArray) {
    const auto path = Files().Write("e.json", text);
    return ErrorOf([&] { ReadAll(*OpenJson(path, form)); });
}

TEST(JsonLines, BlankLinesLateKeysAndExtensions) {
    const std::string text =
        "{\"id\":1,\"name\":\"Ann\"}\r\n"
        "\n"
        "   \t\n"
        "{\"name\":\"Bob\",\"id\":2,\"city\":\"Kaunas\"}\n"
        "{\"id\":3}";  // no line end at the end
    for (const char* name : {"r.jsonl", "r.NDJSON"}) {
        auto source = Open(Files().Write(name, text), {});
        EXPECT_THAT(source->Columns(), ElementsAre("id", "name", "city")) << name;
        EXPECT_THAT(ReadAll(*source),
                    ElementsAre(ElementsAre("1", "Ann", ""), ElementsAre("2", "Bob", "Kaunas"),
                                ElementsAre("3", "", "")));
        EXPECT_EQ(source->RecordNumber(), 3u);
    }
    // The form chosen by the caller wins over the extension.
    auto forced = Open(Files().Write("lines.json", text), SourceKind::kJsonLines, {});
    EXPECT_EQ(ReadAll(*forced).size(), 3u);
    EXPECT_EQ(KindOf("a.Json"), SourceKind::kJson);
    EXPECT_EQ(KindOf("a.db"), SourceKind::kSqlite);

    EXPECT_THAT(FileError("{\"a\":1} {\"a\":2}\n", JsonForm::kLines),
                HasSubstr("line 1, column 9: record 1: more after the object on its line"));
    EXPECT_THAT(FileError("{\"a\":1}\n[1]\n", JsonForm::kLines),
                HasSubstr("line 2, column 1: record 2: expected an object"));
    auto empty = OpenJson(Files().Write("empty.jsonl", "\n \n"), JsonForm::kLines);
    EXPECT_TRUE(empty->Columns().empty());
    EXPECT_FALSE(empty->Next());
}

TEST(JsonSource, KeysInAnyOrderDuplicatesAndEmptyArrays) {
    const auto path = Files().Write("o.json", R"([{"a":1,"b":2,"c":3},
        {"c":"z","a":"x"},
        {"b":"only"},
        {},
        {"d":4,"a":5,"a":6}])");
    auto source = OpenJson(path);
    EXPECT_THAT(source->Columns(), ElementsAre("a", "b", "c", "d"));
    EXPECT_THAT(ReadAll(*source),
                ElementsAre(ElementsAre("1", "2", "3", ""), ElementsAre("x", "", "z", ""),
                            ElementsAre("", "only", "", ""), ElementsAre("", "", "", ""),
                            ElementsAre("6", "", "", "4")));  // the last of a repeated key

    for (const char* text : {"[]", " [ \n ] \n", "\xEF\xBB\xBF[]"}) {
        auto empty = OpenJson(Files().Write("empty.json", text));
        EXPECT_TRUE(empty->Columns().empty()) << text;
        EXPECT_FALSE(empty->Next()) << text;
        EXPECT_EQ(FromText(text)->Next(), false) << text;
    }
}

TEST(JsonSource, ValuesEscapesUnicodeAndNesting) {
    const std::string text = R"([{
        "s": "q\"b\\s\/ \b\f\n\r\t \u00e9\u0416 \ud83d\ude00 Žemaitė",
        "n": -0.50,
        "e": 1E-400,
        "big": 123456789012345678901234567890,
        "t": true, "f": false, "z": null, "empty": "",
        "nested": { "k" : [ 1 , "a\"\u00e9" , null , {} , [ ] ] , "Ž" : true }
    }])";
    auto source = FromText(text);
    const Rows rows = ReadAll(*source);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0][0], "q\"b\\s/ \b\f\n\r\t \xC3\xA9\xD0\x96 \xF0\x9F\x98\x80 Žemaitė");
    EXPECT_EQ(rows[0][1], "-0.50");  // numbers as written
    EXPECT_EQ(rows[0][2], "1E-400");
    EXPECT_EQ(rows[0][3], "123456789012345678901234567890");
    EXPECT_THAT(std::vector(rows[0].begin() + 4, rows[0].begin() + 8),
                ElementsAre("true", "false", "", ""));
    EXPECT_EQ(rows[0][8], R"({"k":[1,"a\"\u00e9",null,{},[]],"Ž":true})");
    // Keys are unescaped like values.
    EXPECT_THAT(FromText(R"([{"a\u0041":1}])")->Columns(), ElementsAre("aA"));
}

TEST(JsonSource, ErrorsNameTheFileLineAndColumn) {
    const auto path = Files().Write("bad.json", "[\n  {\"a\": 1},\n  {\"a\": tru}\n]");
    EXPECT_EQ(ErrorOf([&] { OpenJson(path); }),
              path.string() + ": line 3, column 9: malformed JSON: unexpected \"tru}\"");
    // Columns count characters, not bytes; a file is checked whole before any record.
    EXPECT_THAT(FileError("[{\"Ž\":\"ė\",\"b\":1,}]"),
                HasSubstr("line 1, column 17: malformed JSON: unexpected \"}]\""));
    EXPECT_THAT(FileError("[{\"a\":\"x\n\"}]"),
                HasSubstr("line 1, column 9: malformed JSON: a line end inside a string"));
    EXPECT_THAT(FileError("[{\"a\":\"\\x\"}]"),
                HasSubstr("column 8: malformed JSON: unknown escape"));
    EXPECT_THAT(FileError("[{\"a\":\"\\ud800x\"}]"), HasSubstr("without its low surrogate"));
    EXPECT_THAT(FileError("[{\"a\":\"\\udc00\"}]"), HasSubstr("lone low surrogate"));
    EXPECT_THAT(FileError("[{\"a\":\"\xC3\x28\"}]"), HasSubstr("not UTF-8"));
    EXPECT_THAT(FileError("[{\"a\":\"\xED\xA0\x80\"}]"), HasSubstr("not UTF-8"));
    EXPECT_THAT(FileError("[{\"a\":01}]"),
                HasSubstr("column 8: malformed JSON: unexpected \"1}]\""));
    EXPECT_THAT(FileError("[{\"a\":1.}]"), HasSubstr("after its decimal point"));
    EXPECT_THAT(FileError("[{\"a\":-1e999}]"), HasSubstr("-1e999 is beyond the range"));
    EXPECT_THAT(FileError("[{\"a\":[1,]}]"), HasSubstr("unexpected \"]}]\""));
    EXPECT_THAT(FileError("[{\"a\":1},]"), HasSubstr("column 10: malformed JSON: unexpected"));
    EXPECT_THAT(FileError("[{\"a\":1}] x"),
                HasSubstr("column 11: malformed JSON: unexpected \"x\""));
    EXPECT_THAT(FileError(""), HasSubstr("line 1, column 1: malformed JSON: the text ends"));
    EXPECT_THAT(FileError("[{\"a\":\"open"), HasSubstr("the text ends inside a string"));
    EXPECT_THAT(FileError(std::string(20000, '[') + std::string(20000, ']')),
                HasSubstr("record 1: expected an object"));
    EXPECT_THAT(FileError("[{\"a\":" + std::string(20000, '[') + std::string(20000, ']') + "}]"),
                HasSubstr("nested too deeply"));
    EXPECT_THAT(ErrorOf([] { OpenJson("/nonexistent/x.json"); }), HasSubstr("cannot open"));
}

// The values of the keys k, n and o, which the records are expected to list in that order.
class ThreeKeys : public JsonRecords::Sink {
  public:
    const std::string* Likely() override { return next_ < 3 ? &keys_[next_] : nullptr; }
    std::string* LikelySlot() override { return &values[next_++]; }
    std::string* Slot(const std::string& key) override {
        next_ = static_cast<std::size_t>(std::find(keys_, keys_ + 3, key) - keys_);
        return next_ < 3 ? &values[next_++] : nullptr;
    }
    void Clear() {
        values.assign(3, "");
        next_ = 0;
    }
    std::vector<std::string> values = std::vector<std::string>(3);

  private:
    const std::string keys_[3] = {"k", "n", "o"};
    std::size_t next_ = 0;
};

// Blocks of one byte cross every token at every place: the reading must not change.
TEST(JsonRecords, OneByteBlocksReadAsWholeText) {
    const std::string text =
        "\xEF\xBB\xBF[{\"k\":\"\\ud83d\\ude00 Ž "
        "\\\"x\\\"\",\"n\":-12.5e+3,\"o\":{\"p\":[true,null]}},"
        "\n {\"k\":\"ė\",\"n\":0}, {\"o\":1,\"x\":2,\"\\u006b\":3}]";
    const auto read_all = [&](std::size_t block) {
        std::size_t at = 0;
        JsonRecords records(
            [&](char* buffer, std::size_t size) {
                const std::size_t n = std::min({size, block, text.size() - at});
                text.copy(buffer, n, at);
                at += n;
                return n;
            },
            "t", JsonForm::kArray);
        ThreeKeys sink;
        std::vector<std::string> seen;
        while (records.Next(sink)) {
            seen.insert(seen.end(), sink.values.begin(), sink.values.end());
            sink.Clear();
        }
        return seen;
    };
    EXPECT_EQ(read_all(1), read_all(1 << 20));
    EXPECT_THAT(read_all(1), ElementsAre("\xF0\x9F\x98\x80 Ž \"x\"", "-12.5e+3",
                                         R"({"p":[true,null]})", "ė", "0", "", "3", "", "1"));

    // A column after a block boundary in the middle of a line still counts characters.
    const std::string bad = "[{\"ŽŽŽ\":1}\n,{\"ėė\": x}]";
    std::size_t at = 0;
    JsonRecords records(
        [&](char* buffer, std::size_t size) {
            const std::size_t n = std::min<std::size_t>({size, 1, bad.size() - at});
            bad.copy(buffer, n, at);
            at += n;
            return n;
        },
        "t", JsonForm::kArray);
    ThreeKeys sink;
    EXPECT_TRUE(records.Next(sink));
    EXPECT_THAT(ErrorOf([&] { records.Next(sink); }), HasSubstr("t: line 2, column 9:"));
}

// A stream endlessly producing JSON Lines.
class EndlessLines : public std::streambuf {
  protected:
    int_type underflow() override {
        line_ = "{\"n\":" + std::to_string(++n_) + "}\n";
        setg(line_.data(), line_.data(), line_.data() + line_.size());
        return traits_type::to_int_type(line_[0]);
    }

  private:
    std::string line_;
    long n_ = 0;
};

TEST(JsonSource, StreamsAreReadOnceWithTheFirstRecordsKeys) {
    // Read once: records are delivered as they come, whatever follows.
    EndlessLines endless;
    auto source = OpenJson(std::make_unique<std::istream>(&endless), "endless", JsonForm::kLines);
    EXPECT_THAT(source->Columns(), ElementsAre("n"));
    for (int i = 1; i <= 100000; ++i) ASSERT_TRUE(source->Next());
    EXPECT_EQ(source->Value(0), "100000");

    auto late = FromText("[{\"a\":1,\"b\":2},\n{\"b\":3},\n{\"a\":4,\"c\":5}]");
    EXPECT_THAT(late->Columns(), ElementsAre("a", "b"));
    ASSERT_TRUE(late->Next());
    ASSERT_TRUE(late->Next());
    EXPECT_THAT(std::vector<std::string_view>({late->Value(0), late->Value(1)}),
                ElementsAre("", "3"));
    EXPECT_THAT(ErrorOf([&] { late->Next(); }),
                HasSubstr("in.json: line 3, column 11: record 3: the key \"c\" is not in the "
                          "first record"));
    // A malformed record further on is met when it is read.
    auto broken = FromText("{\"a\":1}\n{\"a\":\n", JsonForm::kLines);
    EXPECT_TRUE(broken->Next());
    EXPECT_THAT(ErrorOf([&] { broken->Next(); }), HasSubstr("line 3, column 1: malformed JSON"));
}

TEST(JsonSource, NamedPipeIsReadOnce) {
    const auto fifo = Files().Path() / "pipe.jsonl";
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    std::thread writer([&] {
        std::ofstream out(fifo);
        out << "{\"x\":\"1\"}\n{\"x\":\"2\"}\n";
    });
    auto source = Open(fifo, {});
    const Rows rows = ReadAll(*source);
    writer.join();
    EXPECT_THAT(source->Columns(), ElementsAre("x"));
    EXPECT_THAT(rows, ElementsAre(ElementsAre("1"), ElementsAre("2")));
}

}  // namespace
}  // namespace quillon::data
