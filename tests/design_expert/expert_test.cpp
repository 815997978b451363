// The expert's page rules through its model, and the component editor's verbs, property
// check and OK over a fake design host.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "design/expert/component_editor.h"
#include "design/expert/expert_model.h"
#include "design/expert/handler_source.h"
#include "fake_design_host.h"
#include "tests/common/temp_dir.h"

namespace quillon::design {
namespace {

using Names = std::vector<std::string>;

FakeDesignHost FormWithTwoDataSets() {
    FakeDesignHost host;
    host.components = {
        {"Rep", "TQuillon", false, {}},
        {"Orders", "TTable", true, {{"ID", "Order", 5}, {"ITEM", "Item", 300}, {"PRICE", "", 0}}},
        {"Button1", "TButton", false, {}},
        {"Clients", "TQuery", true, {{"NAME", "Name", 20}}},
    };
    host.source = Names{"#include \"form1.h\""};
    return host;
}

EditedReport Report(const std::string& file = "orders.htm") {
    EditedReport r;
    r.name = "Rep";
    r.format_file = file;
    r.format_name = "Orders";
    return r;
}

TEST(ExpertModel, NavigationAndItsEnablingRules) {
    FakeDesignHost host = FormWithTwoDataSets();
    ExpertModel m = ExpertModel::FromHost(Report(), host);
    EXPECT_EQ(m.DataSets(), (Names{"Orders", "Clients"}));
    EXPECT_EQ(m.RunCode(), (Names{"  if (Rep.ExecAndLoad())", "  {",
                                  "    Rep.ViewerExt()->SetVisible(true);", "  }"}));
    EXPECT_EQ(m.title, "My Report");
    EXPECT_TRUE(m.page_number && m.date_time && !m.landscape);

    EXPECT_FALSE(m.BackEnabled());
    EXPECT_FALSE(m.NextEnabled());
    m.Next();  // disabled: stays
    EXPECT_EQ(m.Page(), 0);
    m.SetSelectedDataSet(0);
    EXPECT_TRUE(m.NextEnabled());
    EXPECT_FALSE(m.Next());
    EXPECT_EQ(m.Page(), 1);
    EXPECT_TRUE(m.BackEnabled());
    EXPECT_FALSE(m.NextEnabled());  // nothing selected yet
    EXPECT_EQ(m.Available(), (Names{"ID", "ITEM", "PRICE"}));
    m.AddFields({1});
    EXPECT_TRUE(m.NextEnabled());
    m.Next();
    EXPECT_EQ(m.NextCaption(), "&Next");
    m.Next();
    EXPECT_EQ(m.Page(), 3);
    EXPECT_EQ(m.NextCaption(), "&Create");
    m.Back();
    EXPECT_EQ(m.NextCaption(), "&Next");
    m.Next();
    EXPECT_FALSE(m.Finished());
    m.Next();
    EXPECT_TRUE(m.Finished());
    EXPECT_EQ(m.Page(), 3);
}

TEST(ExpertModel, SameDataSetKeepsTheChoiceAnotherClearsIt) {
    FakeDesignHost host = FormWithTwoDataSets();
    ExpertModel m = ExpertModel::FromHost(Report(), host);
    m.SetSelectedDataSet(0);
    m.Next();
    m.AddFields({2, 0});
    m.Back();
    m.Next();
    EXPECT_EQ(m.Selected(), (Names{"ID", "PRICE"}));
    EXPECT_EQ(m.Available(), Names{"ITEM"});
    m.Back();
    m.SetSelectedDataSet(1);
    m.Next();
    EXPECT_EQ(m.Selected(), Names{});
    EXPECT_EQ(m.Available(), Names{"NAME"});
}

TEST(ExpertModel, AnUnresolvableDataSetKeepsTheFirstPage) {
    FakeDesignHost host = FormWithTwoDataSets();
    ExpertModel m = ExpertModel::FromHost(Report(), host);
    host.components.erase(host.components.begin() + 1);  // Orders removed meanwhile
    m.SetSelectedDataSet(0);
    EXPECT_EQ(m.Next(), std::optional<std::string>(
                            "The data source \"Orders\" cannot be found. Choose another one."));
    EXPECT_EQ(m.Page(), 0);
    m.SetSelectedDataSet(1);
    EXPECT_FALSE(m.Next());
    EXPECT_EQ(m.Page(), 1);
}

TEST(ExpertModel, FieldMovesAndTheSelectionAfterThem) {
    FakeDesignHost host;
    host.components = {
        {"T", "TTable", true, {{"A", "", 1}, {"B", "", 1}, {"C", "", 1}, {"D", "", 1}}}};
    ExpertModel m = ExpertModel::FromHost(Report(), host);
    m.SetSelectedDataSet(0);
    m.Next();
    EXPECT_TRUE(m.AddEnabled());
    EXPECT_FALSE(m.RemoveEnabled());
    // The first selected row, clamped to the last remaining item.
    EXPECT_EQ(m.AddFields({3, 1}), 1);
    EXPECT_EQ(m.Selected(), (Names{"B", "D"}));
    EXPECT_EQ(m.Available(), (Names{"A", "C"}));
    EXPECT_EQ(m.AddFields({1}), 0);
    EXPECT_EQ(m.AddFields({}), 0);  // nothing selected: row 0, nothing moved
    EXPECT_EQ(m.Selected(), (Names{"B", "D", "C"}));
    EXPECT_EQ(m.MoveUp(2), 1);
    EXPECT_EQ(m.MoveUp(0), 0);
    EXPECT_EQ(m.MoveDown(2), 2);
    EXPECT_EQ(m.Selected(), (Names{"B", "C", "D"}));
    EXPECT_EQ(m.AddAll(), -1);
    EXPECT_FALSE(m.AddEnabled());
    EXPECT_EQ(m.RemoveFields({0, 7}), 0);
    EXPECT_EQ(m.Available(), Names{"B"});
    EXPECT_EQ(m.RemoveAll(), -1);
    EXPECT_EQ(m.Available(), (Names{"B", "C", "D", "A"}));
    EXPECT_FALSE(m.RemoveEnabled());
}

TEST(ComponentEditor, VerbsAndThePropertyCheck) {
    const auto verbs = TQuillonEditor::Verbs();
    ASSERT_EQ(verbs.size(), 6u);
    EXPECT_EQ(verbs[2].caption, "-");
    EXPECT_EQ(verbs[3].caption, "Quillon Editor");
    EXPECT_EQ(verbs[4].caption, "Quillon Expert ...");
    EXPECT_EQ(verbs[5].caption, "Code template from Format File");

    FakeDesignHost host = FormWithTwoDataSets();
    EditedReport report = Report("  ");
    TQuillonEditor editor(report, host);
    bool expert_shown = false;
    editor.RunExpert = [&](ExpertModel&) { return expert_shown = true; };
    editor.ExecuteVerb(EditorVerb::Expert);
    editor.ExecuteVerb(EditorVerb::CodeTemplate);
    EXPECT_FALSE(expert_shown);
    EXPECT_EQ(host.messages, (Names{"TQuillon: FormatFile/FormatName property error",
                                    "TQuillon: FormatFile/FormatName property error"}));
    EXPECT_TRUE(host.events.empty());

    // Without a unit source the expert ends silently.
    report.format_file = "orders.htm";
    host.messages.clear();
    host.source.reset();
    editor.ExecuteVerb(EditorVerb::Expert);
    EXPECT_FALSE(expert_shown);
    EXPECT_TRUE(host.messages.empty());
}

TEST(ComponentEditor, OkWritesTheTemplateSizesAndHandlerCode) {
    testing::TempDir dir;
    dir.Write("orders.htm", "old template\r\n");
    FakeDesignHost host = FormWithTwoDataSets();
    // A handler whose name begins with the one the expert fills must stay empty.
    host.source->insert(host.source->end(),
                        {"void Form1::RepNextPage(quillon::TQuillon& Sender)", "{", "}"});
    EditedReport report = Report(dir.File("orders.htm"));
    TQuillonEditor editor(report, host);
    editor.RunExpert = [](ExpertModel& m) {
        m.SetSelectedDataSet(0);
        m.Next();
        m.AddFields({1, 0});
        m.MoveDown(0);
        m.landscape = true;
        m.date_time = false;
        m.Next();
        m.Next();
        m.Next();
        return m.Finished();
    };
    editor.ExecuteVerb(EditorVerb::Expert);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(host.modified, 1);
    EXPECT_TRUE(report.landscape);
    EXPECT_EQ(report.pg_size, 20 + 34 * 3);
    EXPECT_EQ(report.first_pg_size, 23 + 34 * 3);
    EXPECT_EQ(testing::ReadFile(dir.File("orders.htm.bak")), "old template\r\n");
    const std::string written = testing::ReadFile(dir.File("orders.htm"));
    EXPECT_NE(written.find("^^Orders<BR>\r\n"), std::string::npos);
    EXPECT_NE(written.find("  <TH ALIGN=\"LEFT\"><FONT SIZE=\"2\">Item</FONT></TH>\r\n"
                           "  <TH ALIGN=\"LEFT\"><FONT SIZE=\"2\">Order</FONT></TH>\r\n"),
              std::string::npos);
    EXPECT_NE(written.find("ITEM>" + std::string(255, '?') + "</FONT></TD>"), std::string::npos);
    EXPECT_EQ(written.find("DATETIME"), std::string::npos);

    EXPECT_EQ(host.events, (Names{"Rep.OnNext=RepNext", "Rep.OnGetDetailLine=RepGetDetailLine"}));
    const Names& s = *host.source;
    const auto page = FindHandlerLine(s, "RepNextPage");
    ASSERT_TRUE(page);
    EXPECT_EQ(s[*page + 2], "}");
    const auto next = FindHandlerLine(s, "RepNext");
    ASSERT_TRUE(next);
    EXPECT_EQ(
        Names(s.begin() + static_cast<long>(*next) + 2, s.begin() + static_cast<long>(*next) + 7),
        (Names{"  if (Rep.BeginOfReport())", "    Orders.First();", "  else Orders.Next();",
               "  PNext = !Orders.Eof();", "}"}));
    const auto detail = FindHandlerLine(s, "RepGetDetailLine");
    ASSERT_TRUE(detail);
    EXPECT_EQ(
        s[*detail + 3],
        "    Sender.FieldByName(\"ITEM\").SetAsString(Orders.FieldByName(\"ITEM\").AsString());");
    EXPECT_EQ(s[*detail + 4],
              "    Sender.FieldByName(\"ID\").SetAsString(Orders.FieldByName(\"ID\").AsString());");
}

TEST(ComponentEditor, CodeTemplateVerbLoadsTheFormat) {
    testing::TempDir dir;
    dir.Write("orders.htm", "^^Orders<BR>\r\n@3<BR>\r\n<\xC2\xBFITEM>????\r\n");
    FakeDesignHost host = FormWithTwoDataSets();
    EditedReport report = Report(dir.File("orders.htm"));
    TQuillonEditor editor(report, host);
    editor.ExecuteVerb(EditorVerb::CodeTemplate);
    EXPECT_EQ(host.events, Names{"Rep.OnGetDetailLine=RepGetDetailLine"});
    const auto detail = FindHandlerLine(*host.source, "RepGetDetailLine");
    ASSERT_TRUE(detail);
    EXPECT_EQ((*host.source)[*detail + 3], "    Sender.FieldByName(\"ITEM\").SetAsString(\"\");");

    report.format_name = "Missing";
    editor.ExecuteVerb(EditorVerb::CodeTemplate);
    ASSERT_EQ(host.messages.size(), 1u);
    EXPECT_NE(host.messages[0].find("Format not found"), std::string::npos);
}

}  // namespace
}  // namespace quillon::design
