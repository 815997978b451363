// A run's dealings with its host: the progress window (created, shown, updated, its Stop
// button, always freed) and the printer orientation (set for the run, always restored).

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "engine/quillon.h"
#include "platform/core/host_services.h"
#include "platform/core/stream.h"
#include "tests/common/temp_dir.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

struct WindowLog {
    bool alive = false;
    bool visible = false;
    bool stop_enabled = true;
    std::string page_text;
    std::string caption;
};

class FakeWindow : public ProgressWindow {
  public:
    explicit FakeWindow(WindowLog& log) : log_(log) { log_.alive = true; }
    ~FakeWindow() override { log_.alive = false; }
    void SetVisible(bool visible) override { log_.visible = visible; }
    bool Visible() const override { return log_.visible; }
    void SetPageText(std::string_view text) override { log_.page_text = text; }
    void SetCaption(std::string_view text) override { log_.caption = text; }
    void SetStopEnabled(bool enabled) override { log_.stop_enabled = enabled; }

  private:
    WindowLog& log_;
};

// A host with one printer and a progress window; pressing Stop happens when messages are
// processed for the n-th time.
class FakeHost : public HeadlessHost {
  public:
    FakeHost() : HeadlessHost([](const Message&) { return mrOk; }) {}
    std::unique_ptr<ProgressWindow> CreateProgressWindow(const ProgressWindowTexts& t) override {
        texts = t;
        auto window = std::make_unique<FakeWindow>(log);
        current = window.get();
        return window;
    }
    void ProcessMessages() override {
        if (++processed == press_stop_at && log.alive && current->on_stop) current->on_stop();
    }
    std::vector<PrinterInfo> Printers() const override { return {{"lp", 210, page_height}}; }
    int CurrentPrinter() const override { return 0; }
    TPrinterOrientation PrinterOrientation() const override { return orientation; }
    void SetPrinterOrientation(TPrinterOrientation o) override { orientation = o; }

    WindowLog log;
    ProgressWindowTexts texts;
    FakeWindow* current = nullptr;
    int processed = 0;
    int press_stop_at = -1;
    TPrinterOrientation orientation = TPrinterOrientation::poPortrait;
    double page_height = 297;
};

class RunHostTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::ofstream(dir_ / "t.htm", std::ios::binary)
            << "^^T\r\n@3\r\n<\xC2\xBFN>??\r\n@15\r\nEND\r\n";
        report_.SetFormatFile((dir_ / "t.htm").string());
        report_.SetFormatName("T");
        report_.SetOptions({prShowProgress});
        report_.OnNext = [this](TQuillon& r, bool& next) {
            next = ++records_ <= 3;
            r.FieldByName("N").SetAsString(std::to_string(records_));
        };
    }

    testing::TempDir temp_;
    fs::path dir_ = temp_.Path();
    FakeHost host_;
    TQuillon report_{host_};
    int records_ = 0;
};

TEST_F(RunHostTest, TheProgressWindowIsShownUpdatedAndFreedAndOrientationRestored) {
    report_.SetOrientation(orLandscape);
    bool seen_landscape = false;
    report_.OnGetDetailLine = [&](TQuillon&) {
        seen_landscape = host_.orientation == TPrinterOrientation::poLandscape;
        EXPECT_TRUE(host_.log.visible);
    };
    TMemoryStream out;
    EXPECT_TRUE(report_.Execute(&out));
    EXPECT_TRUE(seen_landscape);
    EXPECT_EQ(host_.orientation, TPrinterOrientation::poPortrait);
    EXPECT_EQ(host_.texts.page_label, "Page Number");
    EXPECT_EQ(host_.texts.caption, "Generation of report");
    EXPECT_EQ(host_.log.page_text, "1");
    EXPECT_FALSE(host_.log.stop_enabled);
    EXPECT_FALSE(host_.log.alive);
    EXPECT_FALSE(report_.ProgressVisible());
}

TEST_F(RunHostTest, EarlyEndsFreeTheWindowAndRestoreOrientation) {
    report_.SetOrientation(orLandscape);
    report_.BeforeExecute = [](TQuillon&, bool& go_on) { go_on = false; };
    TMemoryStream out;
    EXPECT_FALSE(report_.Execute(&out));
    EXPECT_FALSE(host_.log.alive);

    report_.BeforeExecute = nullptr;
    report_.SetFormatName("NOSUCH");
    EXPECT_FALSE(report_.Execute(&out));
    EXPECT_FALSE(host_.log.alive);
    EXPECT_EQ(host_.orientation, TPrinterOrientation::poPortrait);
}

TEST_F(RunHostTest, TheStopButtonEndsTheRunWithoutReportEnd) {
    host_.press_stop_at = 4;  // in the record loop
    bool after = false;
    report_.AfterExecute = [&](TQuillon&) { after = true; };
    TMemoryStream out;
    EXPECT_FALSE(report_.Execute(&out));
    EXPECT_EQ(out.Data().find("END"), std::string::npos);
    EXPECT_FALSE(after);
    EXPECT_FALSE(host_.log.alive);
}

TEST_F(RunHostTest, PrinterSetUpAndPageSizesScaledToThePrintersPage) {
    host_.page_height = 280;
    report_.SetOptions({prScaled, prSetupBeforeExec});
    report_.SetPgHeight(297);
    report_.OnSetupPrinter = [this](TQuillon&, int& from, int& to) {
        EXPECT_EQ(from, report_.Viewer().FromPage);
        from = 2;
        to = 0;  // not greater than 0: the range keeps its end
        host_.orientation = TPrinterOrientation::poLandscape;
    };
    int sizes_during_run = 0;
    report_.OnGetDetailLine = [&](TQuillon& r) { sizes_during_run = r.PgSize(); };
    const int old_to = report_.Viewer().ToPage;
    TMemoryStream out;
    EXPECT_TRUE(report_.Execute(&out));
    EXPECT_EQ(sizes_during_run, 60);  // 64 lines of 297 mm on a 280 mm page
    EXPECT_EQ(report_.PgSize(), 64);
    EXPECT_EQ(report_.Viewer().FromPage, 2);
    EXPECT_EQ(report_.Viewer().ToPage, old_to);
    EXPECT_EQ(report_.Orientation(), orLandscape);  // read back from the printer
}

}  // namespace
}  // namespace quillon
