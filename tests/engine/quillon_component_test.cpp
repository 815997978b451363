#include "engine/quillon.h"

#include <gtest/gtest.h>

#include <array>
#include <memory>

#include "engine_test_support.h"

namespace quillon {
namespace {

using testing::FakeViewer;
using testing::RecordingHost;
using testing::ScopedEnv;
using testing::TempDir;
using testing::WriteFile;

// A storage that does nothing: the report only keeps a link to it.
class NullStorage : public TrptStorage {
  public:
    using TrptStorage::TrptStorage;
    void SetAttachments(const TStrings& v) override { lists_[0] = v; }
    TStrings& GetAttachments() override { return lists_[0]; }
    void SetToRecipients(const TStrings& v) override { lists_[1] = v; }
    TStrings& GetToRecipients() override { return lists_[1]; }
    void SetCcRecipients(const TStrings& v) override { lists_[2] = v; }
    TStrings& GetCcRecipients() override { return lists_[2]; }
    void SetMailMessage(const TStrings& v) override { lists_[3] = v; }
    TStrings& GetMailMessage() override { return lists_[3]; }
    void Logon() override {}
    void Logoff() override {}
    void Send() override {}

  private:
    std::array<TStrings, 4> lists_;
};

TEST(QuillonComponent, NewComponentDefaults) {
    RecordingHost host;
    TQuillon report(host);
    EXPECT_EQ(report.Options(), (TPrintOptions{prNumbersAlignRight, prScaled}));
    EXPECT_EQ(report.Options().Bits(), 0x0009);
    EXPECT_EQ(report.PgSize(), 64);
    EXPECT_EQ(report.FirstPgSize(), 64);
    EXPECT_EQ(report.ActiveFormatNo(), 1);
    EXPECT_EQ(report.Orientation(), orDefault);
    EXPECT_EQ(report.PrnFile(), "PRX");
    EXPECT_EQ(report.Language(), laEnglish);
    EXPECT_FALSE(report.MultiLevel());
    EXPECT_TRUE(report.FormatFile().empty());
    EXPECT_TRUE(report.FormatName().empty());
    EXPECT_TRUE(report.ClearFieldsList());
    EXPECT_TRUE(report.Params().empty());
    EXPECT_EQ(report.ViewerExt(), nullptr);
    EXPECT_EQ(report.XCalcExt(), nullptr);
    EXPECT_EQ(report.XStorage(), nullptr);
    EXPECT_FALSE(report.Visible());
    EXPECT_FALSE(report.ProgressVisible());
    EXPECT_FALSE(report.BeginOfReport());
    EXPECT_EQ(report.RTFNameTag(), "strike");
    EXPECT_TRUE(report.StripNames());
    EXPECT_EQ(report.Viewer().FromPage, 1);
    EXPECT_EQ(report.Viewer().ToPage, 9999);
    for (int level = 0; level < kLevelCount; ++level) {
        EXPECT_TRUE(report.GetPrint(level));
        EXPECT_TRUE(report.GetPrintTmp(level));
    }
    // The headless host has no printer: the page height stays 0.
    EXPECT_EQ(report.PgHeight(), 0);
    report.SetPgHeight(0);
    EXPECT_EQ(report.PgHeight(), 0);
    report.SetPgHeight(297);
    EXPECT_EQ(report.PgHeight(), 297);
    EXPECT_TRUE(host.messages.empty());
}

TEST(QuillonComponent, OptionsAreASixteenBitSet) {
    TPrintOptions options;
    options.Include(prDoubleParse).Include(prMsgToHtml);
    EXPECT_EQ(options.Bits(), (1u << 10) | (1u << 8));
    EXPECT_TRUE(options.Contains(prDoubleParse));
    EXPECT_FALSE((options - prDoubleParse).Contains(prDoubleParse));
    EXPECT_EQ(TPrintOptions::FromBits(0x0009), (TPrintOptions{prNumbersAlignRight, prScaled}));
}

TEST(QuillonComponent, ActiveFormatNoOutsideOneToThreeIsIgnored) {
    TQuillon report;
    report.SetActiveFormatNo(3);
    EXPECT_EQ(report.ActiveFormatNo(), 3);
    report.SetActiveFormatNo(0);
    EXPECT_EQ(report.ActiveFormatNo(), 3);
    report.SetActiveFormatNo(4);
    EXPECT_EQ(report.ActiveFormatNo(), 3);
}

TEST(QuillonComponent, PageHeightComesFromThePrinter) {
    RecordingHost host;
    host.printers.push_back({"A4", 210.0, 297.0});
    TQuillon report(host);
    EXPECT_EQ(report.PgHeight(), 297);
    report.SetPgHeight(100);
    EXPECT_EQ(report.PgHeight(), 100);
    report.SetPgHeight(0);
    EXPECT_EQ(report.PgHeight(), 297);

    RecordingHost unreadable;
    unreadable.printers.push_back({"broken", 0.0, 0.0});
    TQuillon fallback(unreadable);
    EXPECT_EQ(fallback.PgHeight(), 280);
}

TEST(QuillonComponent, PageBreakMarkersFromTheSettingsFile) {
    {
        TQuillon report;  // the tests run without a settings file
        EXPECT_EQ(report.PageBreakHTML(), "<PAGE>");
        EXPECT_EQ(report.PageBreakRTF(), "\\page");
        EXPECT_EQ(report.PageBreakTXT(), "\f");
    }
    TempDir dir;
    const std::string ini = dir.File("QUILDOC.INI");
    WriteFile(ini,
              "[DEFAULT]\r\nPAGEBREAK=<ignored>\r\n"
              "[Page]\r\nPageBreak=<hr class=\"Page\">\r\nPAGEBREAKTXT=x\r\n"
              "TOP=1.5\r\nPAGEBREAKTXT=" +
                  std::string(300, 'y') + "\r\n");
    ScopedEnv env("QUILDOC_INI", ini);
    TQuillon report;
    EXPECT_EQ(report.PageBreakHTML(), "<hr class=\"Page\">");
    EXPECT_EQ(report.PageBreakRTF(), "\\page");
    EXPECT_EQ(report.PageBreakTXT(), std::string(255, 'y'));  // later lines win, cut to 255
}

TEST(QuillonComponent, DropsLinkedComponentsDestroyedFirst) {
    TQuillon report;
    auto viewer = std::make_unique<FakeViewer>("viewer");
    auto storage = std::make_unique<NullStorage>("storage");
    auto menu = std::make_unique<TComponent>("menu");
    auto popup = std::make_unique<TComponent>("popup");
    auto parent = std::make_unique<TComponent>("parent");
    report.SetViewerExt(viewer.get());
    report.SetXStorage(storage.get());
    report.Viewer().MainMenu.Set(menu.get());
    report.Viewer().PopupMenu.Set(popup.get());
    report.Viewer().ViewerParent.Set(parent.get());
    EXPECT_EQ(report.ViewerExt(), viewer.get());
    EXPECT_EQ(report.XStorage(), storage.get());

    viewer.reset();
    EXPECT_EQ(report.ViewerExt(), nullptr);
    EXPECT_FALSE(report.Visible());
    std::string name;
    EXPECT_FALSE(report.GetCheckBoxName(true, 0, name));
    storage.reset();
    EXPECT_EQ(report.XStorage(), nullptr);
    menu.reset();
    EXPECT_EQ(report.Viewer().MainMenu.Get(), nullptr);
    EXPECT_EQ(report.Viewer().PopupMenu.Get(), popup.get());
    popup.reset();
    parent.reset();
    EXPECT_EQ(report.Viewer().PopupMenu.Get(), nullptr);
    EXPECT_EQ(report.Viewer().ViewerParent.Get(), nullptr);
}

TEST(QuillonComponent, LinkedComponentsOutliveTheReport) {
    FakeViewer viewer("viewer");
    NullStorage storage("storage");
    TComponent menu("menu");
    {
        auto report = std::make_unique<TQuillon>();
        report->SetViewerExt(&viewer);
        report->SetXStorage(&storage);
        report->Viewer().MainMenu.Set(&menu);
        // A copy of the parameters refers to the same menu.
        tRepViewerPar copy;
        copy.Assign(report->Viewer());
        EXPECT_EQ(copy.MainMenu.Get(), &menu);
        TQuillon other;
        other.SetViewer(report->Viewer());
        EXPECT_EQ(other.Viewer().MainMenu.Get(), &menu);
    }
    // Destroying the components after the report must not touch the freed report.
    SUCCEED();
}

TEST(QuillonComponent, ReassigningALinkReleasesTheOldTarget) {
    TQuillon report;
    auto first = std::make_unique<FakeViewer>();
    FakeViewer second;
    report.SetViewerExt(first.get());
    report.SetViewerExt(&second);
    first.reset();
    EXPECT_EQ(report.ViewerExt(), &second);
    report.SetViewerExt(nullptr);
    EXPECT_EQ(report.ViewerExt(), nullptr);
}

TEST(QuillonComponent, CheckBoxNamesThroughTheViewer) {
    TQuillon report;
    FakeViewer viewer;
    viewer.controls = {{TFormControlInfo::fcCheckBox, "a", true},
                       {TFormControlInfo::fcOther, "edit", true},
                       {TFormControlInfo::fcCheckBox, "b", false},
                       {TFormControlInfo::fcCheckBox, "c", true}};
    std::string name;
    EXPECT_FALSE(report.GetCheckBoxName(true, 0, name));  // no viewer
    report.SetViewerExt(&viewer);
    EXPECT_TRUE(report.GetCheckBoxName(true, 1, name));
    EXPECT_EQ(name, "c");
    EXPECT_TRUE(report.GetCheckBoxName(false, 0, name));
    EXPECT_EQ(name, "b");
    EXPECT_FALSE(report.GetCheckBoxName(false, 1, name));
    EXPECT_FALSE(report.GetCheckBoxName(true, -1, name));
    report.SetVisible(true);
    EXPECT_TRUE(report.Visible());
}

TEST(QuillonComponent, ParamsAndViewerAreCopiedOnWrite) {
    TQuillon report;
    std::vector<std::string> params{"a=1", "b=2"};
    report.SetParams(params);
    params.push_back("c");
    EXPECT_EQ(report.Params().size(), 2u);
    tRepViewerPar viewer;
    viewer.Title = "Sales";
    viewer.PrintMarginTop = 2.5;
    report.SetViewer(viewer);
    viewer.Title = "changed";
    EXPECT_EQ(report.Viewer().Title, "Sales");
    EXPECT_DOUBLE_EQ(report.Viewer().PrintMarginTop, 2.5);
}

TEST(QuillonComponent, GroupIndexesAndPrintFlags) {
    TQuillon report;
    std::vector<int> asked;
    report.OnGetGroupIndex = [&](TQuillon&, TReportLevel level, std::string& index) {
        EXPECT_TRUE(index.empty());
        asked.push_back(level);
        index = std::string(100, static_cast<char>('A' + level - rlSum01));
    };
    report.PutOldIdx(rlSum03);
    EXPECT_EQ(asked, (std::vector<int>{rlSum03, rlSum02, rlSum01}));
    EXPECT_EQ(report.GetPriorIndex(rlSum02), std::string(100, 'B'));  // kept whole
    EXPECT_EQ(report.GetPriorIndex(rlSum04), "");
    EXPECT_EQ(report.GetPriorIndex(rlDetail), "");
    report.SetPrint(rlFooter, false);
    report.SetPrint(16, false);
    report.SetPrint(-1, false);
    EXPECT_FALSE(report.GetPrint(rlFooter));
    EXPECT_EQ(report.SkipLine(), "\x1b");
    EXPECT_EQ(report.GetIntPgNumber(), 1);
    EXPECT_EQ(report.GetPgNumber(), "1");
}

}  // namespace
}  // namespace quillon

namespace quillon {
namespace {

TEST(QuillonComponent, WritingClearFieldsListTrueFreesTheFieldTables) {
    testing::TempDir dir;
    const std::string path = dir.File("t.htm");
    testing::WriteFile(path, "^^R\r\n@3\r\n<\xBFN>???\r\n");
    RecordingHost host;
    TQuillon report(host);
    std::string name = "R";
    ASSERT_TRUE(report.LoadFormat(path, name, 1));
    report.SetClearFieldsList(false);
    report.FieldByName("N").SetAsString("kept");
    EXPECT_EQ(report.FieldByName("N").AsString(), "kept");
    report.SetClearFieldsList(true);
    EXPECT_TRUE(report.ClearFieldsList());
    EXPECT_FALSE(report.FieldByName("N").HasCurrent());
    EXPECT_EQ(report.FieldByName("N").AsString(), "");
}

}  // namespace
}  // namespace quillon
