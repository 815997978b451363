// The editor window: loading, Save with the previous version kept, new files, the question
// before unsaved changes are dropped, find and replace, and Run showing what the loader
// found in the text being edited (not the file on disk).

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextBrowser>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "design/qt/cr_rich_edit.h"
#include "design/qt/template_editor_window.h"
#include "design/qt/template_find_bar.h"

namespace quillon {
namespace {

namespace fs = std::filesystem;

class TemplateEditorWindowTest : public ::testing::Test {
  protected:
    void SetUp() override {
        dir_ = fs::temp_directory_path() /
               ("quillon_editor_" + std::to_string(::getpid()) + "_" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(dir_);
        file_ = dir_ / "report.htm";
        std::ofstream(file_, std::ios::binary) << "<HTML>\r\n^^R<BR>\r\n@3<BR>\r\n??? \xE9\r\n";
    }
    void TearDown() override { fs::remove_all(dir_); }
    static std::string Read(const fs::path& p) {
        std::ifstream in(p, std::ios::binary);
        std::ostringstream s;
        s << in.rdbuf();
        return s.str();
    }
    fs::path dir_, file_;
};

TEST_F(TemplateEditorWindowTest, SaveWritesTheTextAndKeepsTheOldFile) {
    TemplateEditorWindow window(file_, nullptr);
    std::string error;
    ASSERT_TRUE(window.Load(error)) << error;
    window.Editor().SetCurrentLine(3);
    window.Editor().SetCurrentPosition(3);
    QTest::keyClicks(&window.Editor(), "?");
    EXPECT_TRUE(window.Editor().document()->isModified());
    window.SaveAction().trigger();
    EXPECT_FALSE(window.Editor().document()->isModified());
    // Same encoding and line breaks as before, one character more.
    EXPECT_EQ(Read(file_), "<HTML>\r\n^^R<BR>\r\n@3<BR>\r\n???? \xE9\r\n");
    EXPECT_EQ(Read(dir_ / "report.htm.bak"), "<HTML>\r\n^^R<BR>\r\n@3<BR>\r\n??? \xE9\r\n");
}

TEST_F(TemplateEditorWindowTest, RunShowsTheLevelsOfTheTextBeingEdited) {
    std::string seen_name, seen_bytes;
    TemplateEditorWindow window(file_, [&](const std::string& name, const std::string& bytes) {
        seen_name = name;
        seen_bytes = bytes;
        TemplateRunResult result;
        result.loaded = true;
        result.levels.format = "R";
        result.levels.levels.push_back(
            {3, "detail line", {{1, 4, 0, "QTY", "", {}}}, {"", " \xC3\xA9\r\n"}});
        result.preview = "2 records, 1 page";
        return result;
    });
    std::string error;
    ASSERT_TRUE(window.Load(error)) << error;
    window.Editor().SetCurrentLine(3);
    window.Editor().SetCurrentPosition(0);
    QTest::keyClicks(&window.Editor(), "x");
    window.RunAction().trigger();
    EXPECT_EQ(seen_name, file_.string());
    EXPECT_EQ(seen_bytes, "<HTML>\r\n^^R<BR>\r\n@3<BR>\r\nx??? \xE9\r\n");
    EXPECT_TRUE(window.RunWindow().isVisible());
    const QString shown = window.RunWindow().Levels().toPlainText();
    EXPECT_TRUE(shown.contains("@3 detail line (1 slot)")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("[1 QTY] \u00E9")) << shown.toStdString();
    EXPECT_FALSE(shown.contains("\\r\\n")) << shown.toStdString();
    EXPECT_TRUE(window.RunWindow().Note().text().contains("2 records, 1 page"));
    // A template that does not load shows the loader's messages.
    TemplateEditorWindow failing(file_, [](const std::string&, const std::string&) {
        return TemplateRunResult{false, {}, "Format not found: report.htm->X\n", ""};
    });
    ASSERT_TRUE(failing.Load(error));
    EXPECT_FALSE(failing.Run().loaded);
    EXPECT_TRUE(failing.RunWindow().Note().text().contains("Format not found: report.htm-&gt;X"))
        << failing.RunWindow().Note().text().toStdString();
    EXPECT_TRUE(failing.RunWindow().Levels().toPlainText().isEmpty());
}

TEST_F(TemplateEditorWindowTest, ANewFileIsCreatedByTheFirstSave) {
    const fs::path created = dir_ / "new.htm";
    TemplateEditorWindow window(created, nullptr);
    std::string error;
    ASSERT_TRUE(window.Load(error)) << error;
    EXPECT_TRUE(window.Editor().toPlainText().isEmpty());
    EXPECT_FALSE(fs::exists(created));
    QTest::keyClicks(&window.Editor(), "<HTML>");
    QTest::keyClick(&window.Editor(), Qt::Key_Return);
    QTest::keyClicks(&window.Editor(), "@3");
    window.SaveAction().trigger();
    EXPECT_EQ(Read(created), "<HTML>\r\n@3");
    EXPECT_FALSE(fs::exists(dir_ / "new.htm.bak"));
    EXPECT_FALSE(window.Editor().document()->isModified());

    // An untitled template asks for a name; no name, no file.
    TemplateEditorWindow untitled({}, nullptr);
    ASSERT_TRUE(untitled.Load(error));
    QTest::keyClicks(&untitled.Editor(), "text");
    untitled.choose_file = [](bool) { return fs::path(); };
    EXPECT_FALSE(untitled.Save(error));
    EXPECT_TRUE(untitled.Editor().document()->isModified());
    untitled.choose_file = [this](bool for_saving) {
        EXPECT_TRUE(for_saving);
        return dir_ / "named.txt";
    };
    EXPECT_TRUE(untitled.Save(error)) << error;
    EXPECT_EQ(untitled.File(), dir_ / "named.txt");
    EXPECT_EQ(Read(dir_ / "named.txt"), "text");
}

TEST_F(TemplateEditorWindowTest, UnsavedChangesAreAskedAboutBeforeTheyAreDropped) {
    const fs::path other = dir_ / "other.rtf";
    std::ofstream(other, std::ios::binary) << "{\\rtf1 ^^X\n@3\\par}";
    TemplateEditorWindow window(file_, nullptr);
    std::string error;
    ASSERT_TRUE(window.Load(error));
    int asked = 0;
    QMessageBox::StandardButton answer = QMessageBox::Cancel;
    window.ask_unsaved = [&] {
        ++asked;
        return answer;
    };
    // Unchanged text: no question.
    ASSERT_TRUE(window.Open(other, error)) << error;
    EXPECT_EQ(asked, 0);
    EXPECT_TRUE(window.Editor().RtfTemplate());
    QTest::keyClicks(&window.Editor(), "x");
    EXPECT_FALSE(window.New());  // Cancel keeps the text
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(window.File(), other);
    EXPECT_TRUE(window.Editor().toPlainText().startsWith("x"));
    answer = QMessageBox::Save;  // Save writes it, then opens
    ASSERT_TRUE(window.Open(file_, error));
    EXPECT_EQ(Read(other), "x{\\rtf1 ^^X\n@3\\par}");
    EXPECT_FALSE(window.Editor().RtfTemplate());
    QTest::keyClicks(&window.Editor(), "y");
    answer = QMessageBox::Discard;
    EXPECT_TRUE(window.New());
    EXPECT_TRUE(window.File().empty());
    EXPECT_EQ(Read(file_), "<HTML>\r\n^^R<BR>\r\n@3<BR>\r\n??? \xE9\r\n");
    // Closing asks too.
    window.show();
    QTest::keyClicks(&window.Editor(), "z");
    answer = QMessageBox::Cancel;
    window.Action("close").trigger();
    EXPECT_TRUE(window.isVisible());
    answer = QMessageBox::Discard;
    window.Action("close").trigger();
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(asked, 5);
}

TEST_F(TemplateEditorWindowTest, FindAndReplace) {
    std::ofstream(file_, std::ios::binary) << "<P>??? Total</P>\n<P>total ??? </P>\n";
    TemplateEditorWindow window(file_, nullptr);
    std::string error;
    ASSERT_TRUE(window.Load(error));
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QTest::keyClick(&window.Editor(), Qt::Key_F, Qt::ControlModifier);
    TemplateFindBar& bar = window.FindBar();
    ASSERT_TRUE(bar.isVisible());
    QTest::keyClicks(&bar.FindText(), "total");
    QTest::keyClick(&bar.FindText(), Qt::Key_Return);  // first match, any case
    EXPECT_EQ(window.Editor().textCursor().selectionStart(), 7);
    QTest::keyClick(&window.Editor(), Qt::Key_F3);  // the next
    EXPECT_EQ(window.Editor().textCursor().selectionStart(), 20);
    QTest::keyClick(&window.Editor(), Qt::Key_F3);  // wraps around
    EXPECT_EQ(window.Editor().textCursor().selectionStart(), 7);
    bar.MatchCase().setChecked(true);
    bar.FindText().setText("TOTAL");
    EXPECT_FALSE(bar.FindNext());
    EXPECT_EQ(bar.Status(), QString("Not found"));
    bar.MatchCase().setChecked(false);
    bar.FindText().setText("???");
    bar.ReplaceText().setText("?????");
    // From the selected "Total" on: the next match is replaced, the one after it selected.
    EXPECT_TRUE(bar.Replace());
    EXPECT_EQ(window.Editor().toPlainText(), QString("<P>??? Total</P>\n<P>total ????? </P>"));
    EXPECT_EQ(window.Editor().textCursor().selectionStart(), 3);
    EXPECT_EQ(window.Editor().textCursor().selectedText(), QString("???"));
    bar.FindText().setText("total");
    bar.ReplaceText().setText("Sum");
    EXPECT_EQ(bar.ReplaceAll(), 2);
    EXPECT_EQ(bar.Status(), QString("2 replaced"));
    EXPECT_EQ(window.Editor().toPlainText(), QString("<P>??? Sum</P>\n<P>Sum ????? </P>"));
    window.Editor().undo();  // Replace All is one step
    EXPECT_EQ(window.Editor().toPlainText(), QString("<P>??? Total</P>\n<P>total ????? </P>"));
    QTest::keyClick(&bar.FindText(), Qt::Key_Escape);
    EXPECT_FALSE(bar.isVisible());
}

TEST_F(TemplateEditorWindowTest, AFileThatCannotBeReadIsReported) {
    fs::create_directories(dir_ / "folder.htm");
    TemplateEditorWindow window(dir_ / "folder.htm", nullptr);
    std::string error;
    EXPECT_FALSE(window.Load(error));
    EXPECT_NE(error.find("folder.htm"), std::string::npos) << error;
}

// With QUILLON_SCREENSHOT_DIR=DIR the window is drawn into DIR (editor.png, find.png,
// run.png) for a look at the colours and the layout.
TEST_F(TemplateEditorWindowTest, Pictures) {
    const char* out = std::getenv("QUILLON_SCREENSHOT_DIR");
    if (out == nullptr || *out == '\0') GTEST_SKIP() << "QUILLON_SCREENSHOT_DIR not set";
    const fs::path sales = fs::path(QUILLON_SOURCE_DIR) / "examples" / "sales_report.htm";
    TemplateEditorWindow window(sales, [](const std::string&, const std::string&) {
        TemplateRunResult result;
        result.loaded = true;
        result.levels = {"sales_report.htm", "SALES", "HTML", "UTF-8", {}};
        result.levels.levels.push_back(
            {3,
             "detail line",
             {{1, 10, 0, "SALEDATE", "", {}}, {2, 8, 2, "VAT", "amount*0.2", {}}},
             {"<TR><TD>", "</TD><TD ALIGN=\"RIGHT\">", "</TD></TR>\r\n"}});
        result.preview = "12 records, 2 pages, shown in the viewer window";
        return result;
    });
    std::string error;
    ASSERT_TRUE(window.Load(error)) << error;
    window.show();
    window.grab().save(QString::fromStdString((fs::path(out) / "editor.png").string()));
    window.FindBar().Open();
    window.FindBar().FindText().setText("CUSTOMER");
    window.FindBar().FindNext();
    window.grab().save(QString::fromStdString((fs::path(out) / "find.png").string()));
    window.Run();
    window.RunWindow().grab().save(QString::fromStdString((fs::path(out) / "run.png").string()));
    TemplateEditorWindow rtf(fs::path(QUILLON_SOURCE_DIR) / "examples" / "invoice.rtf", nullptr);
    ASSERT_TRUE(rtf.Load(error)) << error;
    rtf.show();
    rtf.grab().save(QString::fromStdString((fs::path(out) / "rtf.png").string()));
}

}  // namespace
}  // namespace quillon
