#include <gtest/gtest.h>

#include "engine/alias_dir.h"
#include "engine/report_model.h"
#include "tests/engine/engine_test_util.h"

namespace quillon {
namespace {

using testing_util::Format;
using testing_util::LoadText;
using testing_util::MessageLog;

const std::string kMark = "<\xBF";

TEST(ReportModel, ActiveFormatAddressesFieldsOfOneSlot) {
    ReportModel model;
    MessageLog log;
    ASSERT_TRUE(LoadText(model, log, "a.htm", "^^A\r\n@3\r\n" + kMark + "X>??\r\n", "*", 1));
    ASSERT_TRUE(LoadText(model, log, "b.htm", "^^B\r\n@3\r\n?? " + kMark + "X>?????\r\n", "*", 2));
    EXPECT_EQ(model.ActiveFormatNo(), 2);
    EXPECT_EQ(model.FieldByName("X").AsNumber(), 2);
    model.FieldByName("X").SetAsString("two");
    model.SetActiveFormat(1);
    EXPECT_EQ(model.FieldByName("X").AsNumber(), 1);
    EXPECT_EQ(model.FieldByName("X").AsString(), "");
    model.SetActiveFormat(0);
    model.SetActiveFormat(4);
    EXPECT_EQ(model.ActiveFormatNo(), 1);
    model.SetActiveFormat(2);
    EXPECT_EQ(model.FieldByName("X").AsString(), "two");
    EXPECT_EQ(model.Levels(3), nullptr);
    EXPECT_EQ(model.Levels(7), nullptr);

    model.ReleaseLevels();
    EXPECT_EQ(model.ActiveLevels(), nullptr);
    EXPECT_TRUE(model.FieldByName("X").HasCurrent());  // the field tables stay
    model.ReleaseFieldTables();
    EXPECT_FALSE(model.FieldByName("X").HasCurrent());
}

TEST(ReportModel, FormatByNumberAndFieldByNumberOutsideTheFormat) {
    ReportModel model;
    MessageLog log;
    int w = 0, d = 0;
    model.FormatByNumber(rlDetail, 1, w, d);  // nothing loaded
    EXPECT_EQ(std::make_pair(w, d), std::make_pair(-1, -1));
    ASSERT_TRUE(LoadText(model, log, "a.htm", "^^A\r\n@3\r\nx ???^?\r\n"));
    EXPECT_EQ(Format(model, rlDetail, 0), std::make_pair(0, 0));
    EXPECT_EQ(Format(model, rlDetail, 1), std::make_pair(5, 1));
    EXPECT_EQ(Format(model, rlDetail, 2), std::make_pair(-1, -1));
    EXPECT_EQ(Format(model, rlSum01, 0), std::make_pair(-1, -1));
    EXPECT_EQ(Format(model, rlDetail, 251), std::make_pair(-1, -1));
    EXPECT_EQ(Format(model, rlDetail, -1), std::make_pair(-1, -1));
    EXPECT_EQ(Format(model, 16, 1), std::make_pair(-1, -1));
    model.FormatByName("nobody", w, d);
    EXPECT_EQ(std::make_pair(w, d), std::make_pair(-1, -1));

    EXPECT_TRUE(model.FieldByNumber(rlDetail, 1).HasCurrent());
    // Numbers that a byte would wrap onto slot 1 of level 3 address nothing.
    EXPECT_FALSE(model.FieldByNumber(rlDetail, 257).HasCurrent());
    EXPECT_FALSE(model.FieldByNumber(rlDetail + 256, 1).HasCurrent());
    EXPECT_FALSE(model.FieldByNumber(rlDetail, 0).HasCurrent());
    EXPECT_EQ(model.FieldByNumber(rlDetail, 2).AsExpression(), "*");
}

TEST(ReportModel, BuiltInFields) {
    ReportModel model;
    MessageLog log;
    const std::string kMark8 = "<\xC2\xBF";  // UTF-8 template
    ASSERT_TRUE(LoadText(model, log, "a.htm",
                         "^^A\r\n@3\r\n" + kMark8 + "DATE>?? " + kMark8 + "TIME>?? " + kMark8 +
                             "DATETIME>?? " + kMark8 + "PAGENO>?? " + kMark8 + "LINENO>?? " +
                             kMark8 + "TAB>??? " + kMark8 + "COMPANY>?? " + kMark8 +
                             "LONG>??\r\n"));
    const std::vector<DefaultValue> defaults = {{"company", "First"},
                                                {"NOT_IN_FORMAT", "x"},
                                                {"Company", " Second"},
                                                {"LONG", std::string(300, 'L')},
                                                {"PAGENO", "overridden"}};
    BuiltInValues values;
    values.page_no = 7;
    values.line_no = 42;
    values.defaults = &defaults;
    values.now = 86400 * 365;
    model.PutDefaultValues(values);
    EXPECT_FALSE(model.FieldByName("DATE").AsString().empty());
    EXPECT_FALSE(model.FieldByName("TIME").AsString().empty());
    EXPECT_EQ(model.FieldByName("DATETIME").AsString(),
              model.FieldByName("DATE").AsString() + " " + model.FieldByName("TIME").AsString());
    EXPECT_EQ(model.FieldByName("LINENO").AsString(), "42");
    // [DEFAULT] values come last, in order, and are kept whole.
    EXPECT_EQ(model.FieldByName("PAGENO").AsString(), "overridden");
    EXPECT_EQ(model.FieldByName("COMPANY").AsString(), " Second");
    EXPECT_EQ(model.FieldByName("LONG").AsString(), std::string(300, 'L'));
    // TAB: one no-break space per position, in the template's encoding.
    EXPECT_EQ(model.FieldByName("TAB").AsString(), "\xC2\xA0\xC2\xA0\xC2\xA0");

    ASSERT_TRUE(LoadText(model, log, "a.htm", "^^A\r\n@3\r\n\xE9 " + kMark + "TAB>??\r\n"));
    model.PutDefaultValues(BuiltInValues{});
    EXPECT_EQ(model.FieldByName("TAB").AsString(), "\xA0\xA0");
    EXPECT_TRUE(log.texts.empty());
}

TEST(ReportModel, DefaultValuesFromTheSettingsFile) {
    const SettingsFile settings = SettingsFile::Parse(
        "[PAGE]\nTOP=1\n[Default]\nCompany=ACME = Ltd\nEmpty=\nno equals\n Eq = \"q\"\n");
    const std::vector<DefaultValue> values = ReadDefaultValues(settings);
    ASSERT_EQ(values.size(), 3u);
    EXPECT_EQ(values[0].key, "Company");
    EXPECT_EQ(values[0].value, "ACME = Ltd");
    EXPECT_EQ(values[1].value, "");
    EXPECT_EQ(values[2].key, "Eq");
    EXPECT_EQ(values[2].value, " \"q\"");  // the text after the first "=", as written
}

TEST(AliasDir, DecidedForEachFileOnItsOwn) {
    MessageLog log;
    const MessageRoutine routine = log.Settings().message;
    const std::optional<std::string> exe_dir = ExecutableDir();
    ASSERT_TRUE(exe_dir);
    EXPECT_EQ(exe_dir->back(), '/');
    EXPECT_EQ(GetAliasDir(true, "report.htm", true, routine), "");  // designing
    EXPECT_EQ(GetAliasDir(true, "/srv/report.htm", false, routine), "");
    EXPECT_EQ(GetAliasDir(true, "C:\\rep\\report.htm", false, routine), "");
    EXPECT_EQ(GetAliasDir(true, "\\rep\\report.htm", false, routine), "");
    EXPECT_EQ(GetAliasDir(true, "sub/report.htm", false, routine), *exe_dir);
    EXPECT_EQ(GetAliasDir(false, "/srv/report.htm", false, routine), *exe_dir);
    EXPECT_FALSE(IsAbsoluteFormatPath("report:1.htm"));
    EXPECT_FALSE(IsAbsoluteFormatPath(""));
    EXPECT_TRUE(log.texts.empty());
}

}  // namespace
}  // namespace quillon
