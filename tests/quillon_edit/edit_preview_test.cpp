// The preview of quillon edit's Run: the template text over the first records of the data
// into a report of its own, shown in the viewer of the template's kind; what is said when
// there is no report; and the editor window's Run wired as quillon edit --data wires it.

#include "apps/quillon/edit_preview.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QTextEdit>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>

#include "apps/quillon/template_runner.h"
#include "viewers/html_report_viewer.h"
#include "viewers/rtf_viewer.h"
#include "viewers/txt_viewer.h"
#include "viewers/wwwrep_viewer.h"

namespace quillon::app {
namespace {

namespace fs = std::filesystem;

constexpr const char* kTextTemplate = "^^LIST\r\n@3 detail line\r\n<¿N>????? <¿NAME>??????????\r\n";
constexpr const char* kHtmlTemplate =
    "<HTML>\r\n^^LIST<BR>\r\n@0<BR>\r\n<BODY><TABLE>\r\n@3<BR>\r\n"
    "<TR><TD><¿N>?????"
    "</TD><TD><¿NAME>??????????"
    "</TD></TR>\r\n@15<BR>\r\n</TABLE></BODY>\r\n"
    "</HTML>\r\n";
constexpr const char* kRtfTemplate =
    "{\\rtf1\\ansi ^^LIST\\par\r\n@3\\par\r\n{\\strike N}????? {\\strike NAME}??????????\\par\r\n"
    "@15\\par\r\n}\r\n";

std::string ReadAll(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::size_t Count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

class EditPreviewTest : public ::testing::Test {
  protected:
    EditPreviewTest() {
        dir_ = fs::temp_directory_path() /
               ("quillon-edit-preview-test-" + std::to_string(QCoreApplication::applicationPid()));
        fs::create_directories(dir_);
    }
    ~EditPreviewTest() override {
        std::error_code ec;
        fs::remove_all(dir_, ec);
    }

    // A CSV file of records N (1..count) and NAME (name-N).
    std::string Records(int count) {
        const fs::path file = dir_ / ("records" + std::to_string(count) + ".csv");
        std::ofstream out(file, std::ios::binary);
        out << "n,name\n";
        for (int i = 1; i <= count; ++i) out << i << ",name-" << i << '\n';
        return file.string();
    }

    // A CSV file of count sales with the columns of examples/sales_report.htm, 40 sales a
    // customer.
    std::string Sales(int count) {
        const fs::path file = dir_ / "sales.csv";
        std::ofstream out(file, std::ios::binary);
        out << "customer,saledate,item,qty,price,amount\n";
        for (int i = 1; i <= count; ++i) {
            out << "Customer " << (i - 1) / 40 + 1 << ",2026-01-" << (i % 28 + 1) << ",Item " << i
                << ',' << i % 5 + 1 << ",2.50," << (i % 5 + 1) * 2.5 << '\n';
        }
        return file.string();
    }

    fs::path dir_;
};

TEST_F(EditPreviewTest, OnlyTheFirstHundredRecordsAreRun) {
    EditPreview preview(PreviewSource{Records(150), "", "", 100, {}});
    const PreviewReport made = preview.Make("list.txt", "*", kTextTemplate);
    ASSERT_TRUE(made.written) << made.message;
    EXPECT_EQ(made.records, 100u);
    const std::string report = ReadAll(made.file);
    EXPECT_EQ(Count(report, "name-"), 100u) << report;
    EXPECT_NE(report.find("name-100"), std::string::npos);
    EXPECT_EQ(report.find("name-101"), std::string::npos);
    EXPECT_NE(made.message.find("100 records"), std::string::npos) << made.message;
    EXPECT_NE(made.message.find("the first 100"), std::string::npos) << made.message;

    // Fewer records than the limit: all of them, and no word of a limit.
    EditPreview small(PreviewSource{Records(7), "", "", 100, {}});
    const PreviewReport all = small.Make("list.txt", "*", kTextTemplate);
    ASSERT_TRUE(all.written) << all.message;
    EXPECT_EQ(all.records, 7u);
    EXPECT_EQ(Count(ReadAll(all.file), "name-"), 7u);
    EXPECT_EQ(all.message.find("first"), std::string::npos) << all.message;
}

TEST_F(EditPreviewTest, GroupColumnsGroupTheFirstRecords) {
    // 150 sales, 40 a customer: the first 100 are two whole customers and half a third.
    PreviewSource source{Sales(150), "", "", 100, {"customer"}};
    EditPreview preview(source);
    const PreviewReport made =
        preview.Make("groups.txt", "*",
                     "^^G\r\n@2\r\n== <¿CUSTOMER>??????????\r\n@3\r\n<¿ITEM>?????????\r\n"
                     "@4\r\nTotal <¿QTY>?????\r\n");
    ASSERT_TRUE(made.written) << made.message;
    EXPECT_EQ(made.records, 100u);
    const std::string report = ReadAll(made.file);
    EXPECT_EQ(Count(report, "== Customer"), 3u) << report;
    EXPECT_EQ(Count(report, "Total"), 3u) << report;
    EXPECT_NE(report.find("== Customer 3"), std::string::npos) << report;
    EXPECT_EQ(report.find("Customer 4"), std::string::npos) << report;

    // A group column the data does not have: the columns there are.
    source.groups = {"customer", "region"};
    EditPreview unknown(source);
    const PreviewReport none = unknown.Make("groups.txt", "*", kTextTemplate);
    EXPECT_FALSE(none.written);
    EXPECT_EQ(none.message,
              "unknown --group column region (the columns are: customer, saledate, item, qty, "
              "price, amount)");
}

TEST_F(EditPreviewTest, TheTemplateKindChoosesTheViewer) {
    const std::string data = Records(150);
    struct Case {
        const char* name;
        const char* text;
    };
    for (const Case& c : {Case{"list.htm", kHtmlTemplate}, Case{"list.rtf", kRtfTemplate},
                          Case{"list.txt", kTextTemplate}}) {
        SCOPED_TRACE(c.name);
        EditPreview preview(PreviewSource{data, "", "", 100, {}});
        const std::string line = preview.Show(c.name, "*", c.text);
        EXPECT_NE(line.find("100 records"), std::string::npos) << line;
        EXPECT_NE(line.find("shown in the viewer window"), std::string::npos) << line;
        TCustomWWWRepViewer* viewer = preview.Viewer();
        ASSERT_NE(viewer, nullptr);
        EXPECT_TRUE(viewer->Form().isVisible());
        EXPECT_EQ(viewer->Form().windowTitle().toStdString(),
                  std::string("Preview of ") + c.name + " - quillon");
        const std::string name = c.name;
        if (name == "list.htm") {
            EXPECT_NE(dynamic_cast<TrptHTMLViewer*>(viewer), nullptr);
        } else if (name == "list.rtf") {
            auto* rtf = dynamic_cast<TrptRTFViewer*>(viewer);
            ASSERT_NE(rtf, nullptr);
            EXPECT_EQ(dynamic_cast<TrptTXTViewer*>(viewer), nullptr);
            // The rich text is shown as text: its slots filled, its control words gone.
            const std::string shown = rtf->RichEdit().toPlainText().toStdString();
            EXPECT_NE(shown.find("name-100"), std::string::npos) << shown;
            EXPECT_EQ(shown.find("\\par"), std::string::npos) << shown;
        } else {
            auto* txt = dynamic_cast<TrptTXTViewer*>(viewer);
            ASSERT_NE(txt, nullptr);
            const std::string shown = txt->RichEdit().toPlainText().toStdString();
            EXPECT_EQ(Count(shown, "name-"), 100u);
        }
    }
}

TEST_F(EditPreviewTest, NoReportSaysWhy) {
    // Data that cannot be read: its path and what is wrong, and no viewer.
    const std::string missing = (dir_ / "missing.csv").string();
    EditPreview preview(PreviewSource{missing, "", "", 100, {}});
    const PreviewReport made = preview.Make("list.txt", "*", kTextTemplate);
    EXPECT_FALSE(made.written);
    EXPECT_NE(made.message.find(missing), std::string::npos) << made.message;
    EXPECT_NE(made.message.find("cannot open"), std::string::npos) << made.message;
    const std::string line = preview.Show("list.txt", "*", kTextTemplate);
    EXPECT_EQ(line.rfind("no report: ", 0), 0u) << line;
    EXPECT_NE(line.find(missing), std::string::npos) << line;
    EXPECT_EQ(preview.Viewer(), nullptr);

    // An SQLite source whose table does not exist.
    const fs::path db = dir_ / "empty.db";
    std::ofstream(db, std::ios::binary) << "";
    EditPreview no_table(PreviewSource{db.string(), "", "nosuchtable", 100, {}});
    const PreviewReport none = no_table.Make("list.txt", "*", kTextTemplate);
    EXPECT_FALSE(none.written);
    EXPECT_FALSE(none.message.empty());

    // A format the template does not have.
    EditPreview wrong_format(PreviewSource{Records(3), "", "", 100, {}});
    const PreviewReport unloaded = wrong_format.Make("list.txt", "OTHER", kTextTemplate);
    EXPECT_FALSE(unloaded.written);
    EXPECT_NE(unloaded.message.find("does not load"), std::string::npos) << unloaded.message;
}

// The editor window with Run as quillon edit TEMPLATE --data DATA --group COLUMN makes it: Run
// shows the levels, and the preview's line in the Run window with the report in its viewer. With
// QUILLON_SCREENSHOT_DIR=DIR the preview is drawn into DIR/preview.png.
TEST_F(EditPreviewTest, TheEditorsRunShowsThePreview) {
    const fs::path sales = fs::path(QUILLON_SOURCE_DIR) / "examples" / "sales_report.htm";
    auto preview =
        std::make_shared<EditPreview>(PreviewSource{Sales(150), "", "", 100, {"customer"}});
    TemplateEditorWindow window(
        sales, MakeTemplateRunner("*", [preview](const std::string& file, const std::string& format,
                                                 const std::string& content) {
            return preview->Show(file, format, content);
        }));
    std::string error;
    ASSERT_TRUE(window.Load(error)) << error;
    window.show();
    window.RunAction().trigger();
    EXPECT_TRUE(window.RunWindow().isVisible());
    const std::string note = window.RunWindow().Note().text().toStdString();
    EXPECT_NE(note.find("100 records"), std::string::npos) << note;
    TCustomWWWRepViewer* viewer = preview->Viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_NE(dynamic_cast<TrptHTMLViewer*>(viewer), nullptr);
    EXPECT_TRUE(viewer->Form().isVisible());
    // Closing the editor ends quillon edit, the preview with it.
    EXPECT_FALSE(viewer->Form().testAttribute(Qt::WA_QuitOnClose));
    if (const char* out = std::getenv("QUILLON_SCREENSHOT_DIR"); out != nullptr && *out) {
        QApplication::processEvents();
        viewer->Form().grab().save(
            QString::fromStdString((fs::path(out) / "preview.png").string()));
        window.RunWindow().grab().save(
            QString::fromStdString((fs::path(out) / "run_preview.png").string()));
    }

    // A second Run replaces the preview: one viewer, the new one.
    window.RunAction().trigger();
    EXPECT_NE(preview->Viewer(), nullptr);
    window.close();
}

}  // namespace
}  // namespace quillon::app
