// The code template of a loaded format: which handlers, which blocks in which order and
// with which conditions, and finding handlers in a source by their whole identifier.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/expert/code_template.h"
#include "design/expert/handler_source.h"
#include "engine/report_model.h"
#include "fake_design_host.h"

namespace quillon::design {
namespace {

// Head, detail, a sum level, footer and end fields, a second-parse field, a name used again
// in a later level, and an unnamed slot.
const char* const kFormat =
    "<HTML>\r\n^^Orders<BR>\r\n@0<BR>\r\n<H1><\xC2\xBFTITLE>??????????"
    "</H1>\r\n"
    "@3<BR>\r\n<\xC2\xBF"
    "ITEM>???????? <\xC2\xBF"
    "PRICE>?????^?? ????\r\n"
    "@5<BR>\r\nTotal <\xC2\xBF"
    "SUM2>??????^?? of <\xC2\xBF"
    "ITEM>????????\r\n"
    "@15<BR>\r\nPages <\xC2\xBF&PAGES>????? <\xC2\xBF"
    "CLOSING>?????\r\n";

CodeTemplate TemplateOf(const std::string& text) {
    ReportModel model;
    LoadSettings settings;
    settings.message = [](std::string_view m, TMsgDlgType, TMsgDlgButtons) {
        ADD_FAILURE() << m;
        return static_cast<int>(mrOk);
    };
    std::string name = "*";
    EXPECT_TRUE(model.LoadFormatText("orders.htm", text, name, 1, settings));
    return BuildCodeTemplate(model);
}

TEST(CodeTemplate, HandlersAndBlocksOfEveryUsedLevel) {
    const CodeTemplate code = TemplateOf(kFormat);
    ASSERT_EQ(code.handlers.size(), 4u);
    EXPECT_EQ(code.handlers[0].suffix, "GetHeadLine");
    EXPECT_EQ(code.handlers[1].suffix, "GetDetailLine");
    EXPECT_EQ(code.handlers[2].suffix, "GetSumLine");
    EXPECT_EQ(code.handlers[2].event, "OnGetSumLine");
    EXPECT_EQ(code.handlers[3].suffix, "GetSecondParseFields");
    // ITEM is tagged with the detail level that uses it first, not again with the sum level.
    EXPECT_EQ(code.handlers[1].blocks[0].names, (std::vector<std::string>{"ITEM", "PRICE"}));
    ASSERT_EQ(code.handlers[2].blocks.size(), 2u);
    EXPECT_EQ(code.handlers[2].blocks[0].level, 5);
    EXPECT_EQ(code.handlers[2].blocks[0].names, std::vector<std::string>{"SUM2"});
    EXPECT_EQ(code.handlers[2].blocks[1].level, 15);
    EXPECT_EQ(code.handlers[3].blocks[0].names, std::vector<std::string>{"&PAGES"});
}

TEST(CodeTemplate, TextPutsLaterSumBlocksFirstWithTheirConditions) {
    const std::string text = CodeTemplateText("Rep", "Form1", TemplateOf(kFormat));
    const std::string expected =
        "// Assign the handlers where Rep is set up:\n"
        "//   Rep.OnGetHeadLine = [this](quillon::TQuillon& Sender) { RepGetHeadLine(Sender); };\n"
        "//   Rep.OnGetDetailLine = [this](quillon::TQuillon& Sender) { RepGetDetailLine(Sender); "
        "};\n"
        "//   Rep.OnGetSumLine = [this](quillon::TQuillon& Sender, quillon::TReportLevel Level) { "
        "RepGetSumLine(Sender, Level); };\n"
        "//   Rep.OnGetSecondParseFields = [this](quillon::TQuillon& Sender) { "
        "RepGetSecondParseFields(Sender); };\n"
        "\n"
        "void Form1::RepGetHeadLine(quillon::TQuillon& Sender)\n{\n  {\n"
        "    Sender.FieldByName(\"TITLE\").SetAsString(\"\");\n  }\n}\n"
        "\n"
        "void Form1::RepGetDetailLine(quillon::TQuillon& Sender)\n{\n  {\n"
        "    Sender.FieldByName(\"ITEM\").SetAsString(\"\");\n"
        "    Sender.FieldByName(\"PRICE\").SetAsString(\"\");\n  }\n}\n"
        "\n"
        "void Form1::RepGetSumLine(quillon::TQuillon& Sender, quillon::TReportLevel Level)\n{\n"
        "  if (Level == quillon::rlEnd) {\n"
        "    Sender.FieldByName(\"CLOSING\").SetAsString(\"\");\n  }\n"
        "  if (Level == quillon::rlSum02) {\n"
        "    Sender.FieldByName(\"SUM2\").SetAsString(\"\");\n  }\n}\n"
        "\n"
        "void Form1::RepGetSecondParseFields(quillon::TQuillon& Sender)\n{\n  {\n"
        "    Sender.FieldByName(\"&PAGES\").SetAsString(\"\");\n  }\n}\n";
    EXPECT_EQ(text, expected);
}

TEST(CodeTemplate, ConditionsOfTheSumFooterAndEndLevels) {
    EXPECT_EQ(BlockLines({4, {}}).front(), "  if (Level == quillon::rlSum01) {");
    EXPECT_EQ(BlockLines({13, {}}).front(), "  if (Level == quillon::rlSum10) {");
    EXPECT_EQ(BlockLines({14, {}}).front(), "  if (Level == quillon::rlFooter) {");
    EXPECT_EQ(BlockLines({3, {"A"}}),
              (std::vector<std::string>{"  {", "    Sender.FieldByName(\"A\").SetAsString(\"\");",
                                        "  }"}));
}

// The report fills DATE, PAGENO and the like and computes calculated fields: the code
// names them in a comment and never sets them, which would blank them on every line.
TEST(CodeTemplate, FieldsTheReportFillsAreNamedNotSet) {
    const CodeTemplate code = TemplateOf(
        "^^A\r\n@0\r\n<\xC2\xBF"
        "date>?????????? <\xC2\xBFPageNo>??? <\xC2\xBFTITLE>???\r\n"
        "@3\r\n<\xC2\xBFQTY>??? <\xC2\xBFTOTAL=qty*2>?????\r\n");
    ASSERT_EQ(code.handlers.size(), 2u);
    EXPECT_EQ(code.handlers[0].blocks[0].names, std::vector<std::string>{"TITLE"});
    EXPECT_EQ(code.handlers[0].blocks[0].filled, (std::vector<std::string>{"DATE", "PAGENO"}));
    EXPECT_EQ(
        BlockLines(code.handlers[1].blocks[0]),
        (std::vector<std::string>{"  {", "    // Filled by the report: TOTAL",
                                  "    Sender.FieldByName(\"QTY\").SetAsString(\"\");", "  }"}));
    EXPECT_TRUE(IsBuiltInField("lineno"));
    EXPECT_FALSE(IsBuiltInField("DATES"));
}

TEST(CodeTemplate, NoSumHandlerWithoutSumLevelFieldsAndNoneForUnnamedSlots) {
    const CodeTemplate code =
        TemplateOf("^^A\r\n@3\r\n<\xC2\xBFX>??? ???\r\n@4\r\n???\r\n@15\r\nplain text\r\n");
    ASSERT_EQ(code.handlers.size(), 1u);
    EXPECT_EQ(code.handlers[0].suffix, "GetDetailLine");
}

TEST(HandlerSource, HandlersAreFoundByTheirWholeQualifiedName) {
    std::vector<std::string> source = {
        "//   Rep.OnNext = [this](TQuillon& Sender, bool& PNext) { RepNext(Sender, PNext); };",
        "void Form1::RepNextPage(quillon::TQuillon& Sender)",
        "{",
        "}",
        "void Form1::repnext(quillon::TQuillon& Sender, bool& PNext)",
        "{",
        "}"};
    EXPECT_EQ(FindHandlerLine(source, "RepNext"), 4u);
    EXPECT_FALSE(FindHandlerLine(source, "Rep"));
    ASSERT_TRUE(InsertIntoHandler(source, "RepNext", {"  a;", "  b;"}));
    EXPECT_EQ(source[6], "  a;");
    EXPECT_EQ(source[7], "  b;");
    EXPECT_EQ(source[2], "{");  // RepNextPage untouched
    EXPECT_EQ(source[3], "}");
    EXPECT_FALSE(InsertIntoHandler(source, "Missing", {"x"}));
    std::vector<std::string> no_body = {"void Form1::RepNext(bool& PNext);"};
    EXPECT_FALSE(InsertIntoHandler(no_body, "RepNext", {"x"}));
}

TEST(CodeTemplate, AppliedThroughAHostCreatesAssignsAndFillsHandlers) {
    FakeDesignHost host;
    host.source = std::vector<std::string>{"#include \"form1.h\""};
    ASSERT_TRUE(ApplyCodeTemplate(host, "Rep", TemplateOf(kFormat)));
    EXPECT_EQ(host.events,
              (std::vector<std::string>{"Rep.OnGetHeadLine=RepGetHeadLine",
                                        "Rep.OnGetDetailLine=RepGetDetailLine",
                                        "Rep.OnGetSumLine=RepGetSumLine",
                                        "Rep.OnGetSecondParseFields=RepGetSecondParseFields"}));
    const auto& s = *host.source;
    const auto sum = FindHandlerLine(s, "RepGetSumLine");
    ASSERT_TRUE(sum);
    EXPECT_EQ(s[*sum + 2], "  if (Level == quillon::rlEnd) {");

    FakeDesignHost no_source;
    no_source.source.reset();
    EXPECT_FALSE(ApplyCodeTemplate(no_source, "Rep", TemplateOf(kFormat)));
}

}  // namespace
}  // namespace quillon::design
