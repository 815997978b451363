// A report whose GetValue is its own fills the slots without calling it; one that overrides
// GetValue has it called for every slot. Both must build the same lines.

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "engine/quillon.h"
#include "engine_test_support.h"

namespace quillon {
namespace {

using testing::RecordingHost;
using testing::TempDir;
using testing::WriteFile;

// Overrides GetValue and hands every slot to the component's own.
class ForwardingReport : public TQuillon {
  public:
    using TQuillon::TQuillon;
    void GetValue(int Level, int FieldNo, std::string& Value) override {
        slots.emplace_back(Level, FieldNo);
        TQuillon::GetValue(Level, FieldNo, Value);
    }
    std::vector<std::pair<int, int>> slots;
};

bool Load(TQuillon& report, TempDir& dir, const std::string& content) {
    const std::string path = dir.File("t.htm");
    WriteFile(path, content);
    std::string name = "R";
    return report.LoadFormat(path, name, 1);
}

std::vector<std::string> Build(TQuillon& report, int level) {
    EilPlist list;
    report.MakeLine(level, list);
    std::vector<std::string> lines;
    for (const DataNodeRec& node : list) lines.push_back(node.Val);
    return lines;
}

TEST(SlotFilling, AnOverriddenGetValueSeesEverySlotAndWritesIt) {
    TempDir dir;
    RecordingHost host;
    // A GetValue of its own: the slot's place instead of the value.
    class NumberingReport : public ForwardingReport {
      public:
        using ForwardingReport::ForwardingReport;
        void GetValue(int Level, int FieldNo, std::string& Value) override {
            slots.emplace_back(Level, FieldNo);
            Value += std::to_string(Level) + "." + std::to_string(FieldNo);
        }
    } report(host);
    ASSERT_TRUE(Load(report, dir,
                     "^^R\r\n@3\r\n[<\xBF"
                     "A>???|<\xBF"
                     "B>??]\r\n@4\r\nS <\xBF"
                     "A>??\r\nT <\xBF"
                     "C>??\r\n"));
    report.OnGetDetailLine = [](TQuillon& r) { r.FieldByName("A").SetAsString("plain"); };
    EXPECT_EQ(Build(report, rlDetail), (std::vector<std::string>{"[3.1|3.2]\r\n"}));
    EXPECT_EQ(Build(report, rlDetail), (std::vector<std::string>{"[3.1|3.2]\r\n"}));
    EXPECT_EQ(Build(report, rlSum01), (std::vector<std::string>{"S 4.1\r\n", "T 4.2\r\n"}));
    EXPECT_EQ(report.slots,
              (std::vector<std::pair<int, int>>{{3, 1}, {3, 2}, {3, 1}, {3, 2}, {4, 1}, {4, 2}}));
}

// Every value is written by both reports, in every slot, under every option set; the lines
// and the field left current must agree.
TEST(SlotFilling, FilledDirectlyAsGetValueFillsThem) {
    // Each template with the number of its slots.
    const std::vector<std::pair<std::string, std::size_t>> templates = {
        // one line, a name used twice
        {"^^R\r\n@3\r\n<TR><TD><\xBF"
         "A>????"
         "</TD><TD><\xBF"
         "B>??????^??"
         "</TD><\xBF"
         "A>??|</TR>\r\n",
         3},
        // several lines, and text after the last line end
        {"^^R\r\n@3\r\nL1 <\xBF"
         "A>???\r\nL2 <\xBF"
         "B>????? and <\xBF"
         "C>??\r\nrest",
         3},
        // the line-suppression character in the template text
        {"^^R\r\n@3\r\n\x1b<\xBF"
         "A>???|<\xBF"
         "B>????\r\n",
         2},
        // a UTF-8 template
        {"^^R\r\n@3\r\n|<\xC2\xBF"
         "A>???|<\xC2\xBF"
         "B>?????|<\xC2\xBF"
         "C>?|\r\n",
         3},
        // no template text before the first slot nor after the last
        {"^^R\r\n@3\r\n<\xBF"
         "A>???"
         "<\xBF"
         "B>????"
         "<\xBF"
         "C>??",
         3},
        // a single slot
        {"^^R\r\n@3\r\n(<\xBF"
         "C>??"
         ")\r\n",
         1},
    };
    const std::vector<std::string> values = {"",
                                             "a",
                                             "abc",
                                             "abcd",
                                             "abcdefghijkl",
                                             "12.5",
                                             " 7 ",
                                             "-3",
                                             "1e5",
                                             "12,5",
                                             ".",
                                             "x\r\ny",
                                             "\r",
                                             "ab\x1b",
                                             "\tq",
                                             "\x7f",
                                             "\xC3\xA4\xE2\x82\xAC\xC3\xB6\xC3\xBC",
                                             "\xE4x",
                                             "<A href=u>link</A>",
                                             "<A x>open",
                                             "<Ab",
                                             "    ",
                                             "0123456789abcdefghij"};
    const std::vector<TPrintOptions> option_sets = {
        TPrintOptions{},
        TPrintOptions{prNumbersAlignRight},
        TPrintOptions{prDontCutField},
        TPrintOptions{prTrimField},
        TPrintOptions{prNumbersAlignRight, prDontCutField},
        TPrintOptions{prNumbersAlignRight, prDontCutField, prTrimField},
    };
    TempDir dir;
    RecordingHost host;
    for (const auto& [content, slot_count] : templates) {
        TQuillon direct(host);
        ForwardingReport forwarding(host);
        ASSERT_TRUE(Load(direct, dir, content));
        ASSERT_TRUE(Load(forwarding, dir, content));
        std::size_t round = 0;
        const auto set_values = [&](TQuillon& r) {
            r.FieldByName("A").SetAsString(values[round % values.size()]);
            r.FieldByName("B").SetAsString(values[(round * 7 + 3) % values.size()]);
            r.FieldByName("C").SetAsString(values[(round * 5 + 1) % values.size()]);
            r.FieldByName("B");  // a field current before the line is built
        };
        direct.OnGetDetailLine = set_values;
        forwarding.OnGetDetailLine = set_values;
        for (const TPrintOptions& options : option_sets) {
            direct.SetOptions(options);
            forwarding.SetOptions(options);
            for (round = 0; round < values.size() * 3; ++round) {
                forwarding.slots.clear();
                const std::vector<std::string> lines = Build(direct, rlDetail);
                EXPECT_EQ(lines, Build(forwarding, rlDetail))
                    << content << " round " << round << " options " << options.Bits();
                EXPECT_EQ(direct.Model().ActiveNames().AsName(),
                          forwarding.Model().ActiveNames().AsName());
                EXPECT_EQ(forwarding.slots.size(), slot_count);
            }
        }
    }
}

}  // namespace
}  // namespace quillon
