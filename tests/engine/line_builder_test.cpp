#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "engine/quillon.h"
#include "engine_test_support.h"

namespace quillon {
namespace {

using testing::ReadFile;
using testing::RecordingHost;
using testing::TempDir;
using testing::WriteFile;

// Exposes the second-parse pass, which the run calls after the report end.
class ParsingReport : public TQuillon {
  public:
    using TQuillon::Run;
    using TQuillon::SecondParse;
    using TQuillon::TQuillon;
};

const std::string kTemplate =
    "<HTML>\r\n"
    "^^R<BR>\r\n"
    "@0<BR>\r\n"
    "Head <\xBFTITLE>??????????\r\n"
    "@3<BR>\r\n"
    "D <\xBF"
    "A>???? | <\xBF"
    "B>?????^?? | <\xBF"
    "C>??\r\n"
    "@4<BR>\r\n"
    "Sum <\xBFS>?????\r\n"
    "@5<BR>\r\n"
    "@6<BR>\r\n"
    "L1 <\xBFX>???\r\n"
    "L2 <\xBFY>??? and <\xBFZ>???\r\n"
    "L3 <\xBFLINENO>???\r\n"
    "@15<BR>\r\n"
    "End\r\n";

class LineBuilderTest : public ::testing::Test {
  protected:
    void Load(const std::string& content, const std::string& file_name = "t.htm") {
        const std::string path = dir_.File(file_name);
        WriteFile(path, content);
        report_.SetFormatFile(path);
        std::string name = "R";
        ASSERT_TRUE(report_.LoadFormat(path, name, 1));
    }

    std::vector<std::string> Build(int level) {
        EilPlist list;
        report_.MakeLine(level, list);
        std::vector<std::string> lines;
        for (const DataNodeRec& node : list) {
            EXPECT_EQ(node.X, level);
            EXPECT_EQ(node.Y, 0);
            lines.push_back(node.Val);
        }
        return lines;
    }

    TempDir dir_;
    RecordingHost host_;
    ParsingReport report_{host_};
};

TEST_F(LineBuilderTest, FillsTheSlotsOfALine) {
    Load(kTemplate);
    report_.OnGetDetailLine = [](TQuillon& r) {
        r.FieldByName("a").SetAsString("ab");
        r.FieldByName(" B ").SetAsString("12.5");
        r.FieldByName("C").SetAsString("xyz");
    };
    EXPECT_EQ(Build(rlDetail), (std::vector<std::string>{"D ab   |     12.5 | xy\r\n"}));
    // Values are cleared before every line: a handler that sets nothing leaves blanks.
    report_.OnGetDetailLine = nullptr;
    EXPECT_EQ(Build(rlDetail), (std::vector<std::string>{"D      |          |   \r\n"}));
    EXPECT_TRUE(host_.messages.empty());
}

TEST_F(LineBuilderTest, RaisesTheEventOfEachLevel) {
    Load(kTemplate);
    std::vector<std::string> events;
    report_.OnGetHeadLine = [&](TQuillon& r) {
        events.push_back("head");
        r.FieldByName("TITLE").SetAsString("Sales");
    };
    report_.OnGetDetailLine = [&](TQuillon&) { events.push_back("detail"); };
    report_.OnGetSumLine = [&](TQuillon&, TReportLevel level) {
        events.push_back("sum " + std::to_string(level));
    };
    EXPECT_EQ(Build(rlHead), (std::vector<std::string>{"<HTML>\r\n", "Head Sales     \r\n"}));
    EXPECT_EQ(Build(rlSum01), (std::vector<std::string>{"Sum      \r\n"}));
    EXPECT_TRUE(Build(rlSum02).empty());  // a level without content lines
    EXPECT_EQ(Build(rlEnd), (std::vector<std::string>{"End\r\n"}));
    EXPECT_TRUE(Build(rlFooter).empty());  // absent from the format: no event
    EXPECT_TRUE(Build(rlNewPage).empty());
    EXPECT_TRUE(Build(16).empty());
    EXPECT_TRUE(Build(-1).empty());
    EXPECT_EQ(events, (std::vector<std::string>{"head", "sum 4", "sum 5", "sum 15"}));
}

TEST_F(LineBuilderTest, AValueWithACarriageReturnEndsItsLine) {
    Load(kTemplate);
    report_.OnGetDetailLine = [](TQuillon& r) {
        r.FieldByName("A").SetAsString("x\r\ny");
        r.FieldByName("C").SetAsString("\r");
    };
    EXPECT_EQ(Build(rlDetail), (std::vector<std::string>{"D x\r\ny", " |          | \r ", "\r\n"}));
}

TEST_F(LineBuilderTest, SkipLineDropsOnlyItsTemplateLine) {
    Load(kTemplate);
    report_.OnGetSumLine = [](TQuillon& r, TReportLevel) {
        r.FieldByName("X").SetAsString("1");
        r.FieldByName("Z").SetAsString(TQuillon::SkipLine());
    };
    EXPECT_EQ(Build(rlSum03), (std::vector<std::string>{"L1   1\r\n", "L3   0\r\n"}));
    // A value that ends its line leaves the rest of the template line as a line of its own.
    report_.OnGetSumLine = [](TQuillon& r, TReportLevel) {
        r.FieldByName("X").SetAsString("a\r\n");
        r.FieldByName("Y").SetAsString(TQuillon::SkipLine());
    };
    EXPECT_EQ(Build(rlSum03), (std::vector<std::string>{"L1 a\r\n", "\r\n", "L3   0\r\n"}));
}

TEST_F(LineBuilderTest, OneShotSuppressionAndLineNumbers) {
    Load(kTemplate);
    int calls = 0;
    report_.OnGetDetailLine = [&](TQuillon& r) {
        if (++calls == 2) r.SetPrintTmp(rlDetail, false);
        r.FieldByName("A").SetAsString(std::to_string(calls));
    };
    EXPECT_EQ(Build(rlDetail).size(), 1u);
    EXPECT_TRUE(Build(rlDetail).empty());
    EXPECT_EQ(Build(rlDetail), (std::vector<std::string>{"D    3 |          |   \r\n"}));
    EXPECT_EQ(report_.DetailCount(), 3);
    EXPECT_TRUE(report_.GetPrintTmp(rlDetail));
    // LINENO shows the number of detail lines built.
    EXPECT_EQ(Build(rlSum03).back(), "L3   3\r\n");
}

TEST_F(LineBuilderTest, SlotRulesThroughTheComponent) {
    Load(kTemplate);
    std::string a = "abcdefghij", b = "12,5";
    report_.OnGetDetailLine = [&](TQuillon& r) {
        r.FieldByName("A").SetAsString(a);
        r.FieldByName("B").SetAsString(b);
    };
    EXPECT_EQ(Build(rlDetail)[0], "D abcd | 12,5     |   \r\n");
    report_.SetOptions(TPrintOptions{prDontCutField, prTrimField});
    b = "  7  ";
    EXPECT_EQ(Build(rlDetail)[0], "D abcdefghij | 7 | \r\n");
    report_.SetOptions(TPrintOptions{});
    a = "<A href=u>link</A>";
    b = "12.5";
    EXPECT_EQ(Build(rlDetail)[0], "D <A href=u>link</A> | 12.5     |   \r\n");
    // The values stay readable until the next line is built.
    EXPECT_EQ(report_.GetValue(rlDetail, 1), "<A href=u>link</A>");
    EXPECT_EQ(report_.GetValue(rlDetail, 9), "");  // no such slot
}

TEST_F(LineBuilderTest, SlotsFollowTheFormatInUse) {
    Load(
        "^^R\r\n@3\r\n[<\xBF"
        "A>??|<\xBF"
        "B>????]\r\n");
    report_.OnGetDetailLine = [](TQuillon& r) {
        r.FieldByName("A").SetAsString("a");
        r.FieldByName("B").SetAsString("b");
    };
    EXPECT_EQ(Build(rlDetail), (std::vector<std::string>{"[a |b   ]\r\n"}));
    // Reading a slot makes its field the current one, as FieldByNumber does.
    EXPECT_EQ(report_.GetValue(rlDetail, 2), "b   ");
    EXPECT_EQ(report_.Model().ActiveNames().AsName(), "B");
    EXPECT_EQ(report_.GetValue(rlDetail, 3), "");
    EXPECT_FALSE(report_.Model().ActiveNames().HasCurrent());

    // Another format in the same slot: its own widths, names and text.
    Load(
        "^^R\r\n@3\r\n(<\xBF"
        "B>?|<\xBF"
        "A>?????"
        ")\r\n");
    EXPECT_EQ(Build(rlDetail), (std::vector<std::string>{"(b|a    )\r\n"}));
    // A second format slot, and back to the first.
    const std::string second = dir_.File("second.htm");
    WriteFile(second,
              "^^R\r\n@3\r\n{<\xBF"
              "A>???}\r\n");
    std::string name = "R";
    ASSERT_TRUE(report_.LoadFormat(second, name, 2));
    EXPECT_EQ(Build(rlDetail), (std::vector<std::string>{"{a  }\r\n"}));
    report_.SetActiveFormat(1);
    EXPECT_EQ(Build(rlDetail), (std::vector<std::string>{"(b|a    )\r\n"}));
    // Names cleared: the slots are there, their fields are not.
    report_.Model().ActiveNames().ClrREK();
    EXPECT_EQ(Build(rlDetail), (std::vector<std::string>{"( |     )\r\n"}));
}

TEST_F(LineBuilderTest, ControlCharactersAnywhereInAValueAreSeen) {
    // Values of every length up to 20 with a CR, or the line-suppression character, at
    // every place.
    Load("^^R\r\n@3\r\n<\xBFV>????????????????????|\r\n");
    std::string value;
    report_.OnGetDetailLine = [&](TQuillon& r) { r.FieldByName("V").SetAsString(value); };
    for (std::size_t length = 1; length <= 20; ++length) {
        for (std::size_t at = 0; at < length; ++at) {
            value.assign(length, 'v');
            value[at] = '\r';
            const std::string first = value + std::string(20 - length, ' ');
            EXPECT_EQ(Build(rlDetail), (std::vector<std::string>{first, "|\r\n"}))
                << length << " " << at;
            value[at] = TQuillon::SkipLine()[0];
            EXPECT_TRUE(Build(rlDetail).empty()) << length << " " << at;
        }
    }
}

TEST_F(LineBuilderTest, Utf8TemplatesCountCharacters) {
    Load("^^R\r\n@3\r\n|<\xC2\xBFN>???|\r\n");
    report_.OnGetDetailLine = [](TQuillon& r) {
        r.FieldByName("N").SetAsString("\xC3\xA4\xE2\x82\xAC\xC3\xB6\xC3\xBC");
    };
    EXPECT_EQ(Build(rlDetail), (std::vector<std::string>{"|\xC3\xA4\xE2\x82\xAC\xC3\xB6|\r\n"}));
}

TEST_F(LineBuilderTest, SecondParseFieldsBecomePlaceholdersAndAreFilledAfterwards) {
    Load(
        "^^R\r\n@3\r\nT <\xBF&TOTAL>???^?? <\xBF"
        "A>??\r\n");
    report_.SetOptions(report_.Options() + prDoubleParse);
    report_.OnGetDetailLine = [](TQuillon& r) {
        r.FieldByName("&TOTAL").SetAsString("99");
        r.FieldByName("A").SetAsString("a");
    };
    const std::vector<std::string> lines = Build(rlDetail);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(lines[0], "T <\xBF&TOTAL>???^?? a \r\n");

    // The finished output, larger than one chunk of the pass, is filled in place.
    std::string output;
    for (int i = 0; i < 500; ++i) output += lines[0];
    report_.SetPrnFile(dir_.File("out.htm"));
    WriteFile(report_.PrnFile(), output);
    report_.Model().ActiveNames().ClrVAL();
    report_.FieldByName("&total").SetAsString("12");
    ASSERT_TRUE(report_.SecondParse());
    std::string expected;
    for (int i = 0; i < 500; ++i) expected += "T <\xBF\\TOTAL>12     a \r\n";
    EXPECT_EQ(ReadFile(report_.PrnFile()), expected);

    // With a run stream the stream is filled.
    TMemoryStream stream(output);
    report_.Run().FRunStream = &stream;
    ASSERT_TRUE(report_.SecondParse());
    EXPECT_EQ(stream.Data(), expected);
    report_.Run().FRunStream = nullptr;

    // Without the option the field is an ordinary one.
    report_.SetOptions(TPrintOptions{});
    EXPECT_EQ(Build(rlDetail)[0], "T 99     a \r\n");
}

TEST_F(LineBuilderTest, SecondParseInRtfTemplates) {
    Load("{\\rtf1\r\n^^R\r\n@3\r\n\\par {\\strike &TOTAL} ???\r\n}\r\n", "t.rtf");
    report_.SetOptions(TPrintOptions{prDoubleParse});
    const std::vector<std::string> lines = Build(rlDetail);
    ASSERT_FALSE(lines.empty());
    EXPECT_NE(lines[0].find("{\\strike &TOTAL}???"), std::string::npos) << lines[0];

    TMemoryStream stream(lines[0]);
    report_.Run().FRunStream = &stream;
    report_.FieldByName("&TOTAL").SetAsString("7");
    ASSERT_TRUE(report_.SecondParse());
    EXPECT_NE(stream.Data().find("{\\strike \\TOTAL}7  "), std::string::npos) << stream.Data();
    report_.Run().FRunStream = nullptr;
}

TEST_F(LineBuilderTest, SecondParseOfAMissingFileFails) {
    Load(kTemplate);
    report_.SetPrnFile(dir_.File("none.htm"));
    EXPECT_FALSE(report_.SecondParse());
}

}  // namespace
}  // namespace quillon
