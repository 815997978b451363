// The editor window: loading, Save with the previous version kept, and Run showing what
// the loader found in the text being edited (not the file on disk).

#include <gtest/gtest.h>
#include <unistd.h>

#include <QAction>
#include <QPlainTextEdit>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "design/qt/cr_rich_edit.h"
#include "design/qt/template_editor_window.h"

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

TEST_F(TemplateEditorWindowTest, RunLoadsTheTextBeingEdited) {
    std::string seen_name, seen_bytes;
    TemplateEditorWindow window(file_, [&](const std::string& name, const std::string& bytes) {
        seen_name = name;
        seen_bytes = bytes;
        return TemplateRunResult{true, "@3 detail: 1 slot\n", ""};
    });
    std::string error;
    ASSERT_TRUE(window.Load(error)) << error;
    window.Editor().SetCurrentLine(3);
    window.Editor().SetCurrentPosition(0);
    QTest::keyClicks(&window.Editor(), "x");
    window.RunAction().trigger();
    EXPECT_EQ(seen_name, file_.string());
    EXPECT_EQ(seen_bytes, "<HTML>\r\n^^R<BR>\r\n@3<BR>\r\nx??? \xE9\r\n");
    EXPECT_EQ(window.Overview().toPlainText(), QString("@3 detail: 1 slot\n"));
    // A template that does not load shows the loader's messages.
    TemplateEditorWindow failing(file_, [](const std::string&, const std::string&) {
        return TemplateRunResult{false, "", "Format not found: report.htm->X\n"};
    });
    ASSERT_TRUE(failing.Load(error));
    EXPECT_FALSE(failing.Run().loaded);
    EXPECT_EQ(failing.Overview().toPlainText(), QString("Format not found: report.htm->X\n"));
}

TEST_F(TemplateEditorWindowTest, AMissingFileIsReported) {
    TemplateEditorWindow window(dir_ / "missing.htm", nullptr);
    std::string error;
    EXPECT_FALSE(window.Load(error));
    EXPECT_NE(error.find("missing.htm"), std::string::npos) << error;
}

}  // namespace
}  // namespace quillon
