#pragma once
// The template editor window: a `TCRRichEdit` on a template file, Save (keeping the
// previous version as FILE.bak) and Run, which loads the text being edited as a template
// and shows the levels and slots the loader found.

#include <QMainWindow>

#include <filesystem>
#include <functional>
#include <string>

class QAction;
class QLabel;
class QPlainTextEdit;

namespace quillon {

class TCRRichEdit;

// What loading a template's text found: loaded or not, the overview of its levels and
// slots, and the loader's messages.
struct TemplateRunResult {
    bool loaded = false;
    std::string overview;
    std::string messages;
};
// Loads template bytes; the file name decides the template's kind.
using TemplateRunner =
    std::function<TemplateRunResult(const std::string& file_name, const std::string& bytes)>;

class TemplateEditorWindow : public QMainWindow {
  public:
    TemplateEditorWindow(std::filesystem::path file, TemplateRunner runner,
                         QWidget* parent = nullptr);

    // Reads the file into the editor; false with a message when it cannot be read.
    bool Load(std::string& error);
    // Writes the editor's text back; false with a message (also shown) when it fails.
    bool Save(std::string& error);
    // Runs the loader over the text being edited and shows what it found.
    TemplateRunResult Run();

    TCRRichEdit& Editor() { return *editor_; }
    QPlainTextEdit& Overview() { return *overview_; }
    QAction& SaveAction() { return *save_; }
    QAction& RunAction() { return *run_; }

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void ShowCaret();
    void ShowTitle();

    std::filesystem::path file_;
    TemplateRunner runner_;
    TCRRichEdit* editor_ = nullptr;
    QPlainTextEdit* overview_ = nullptr;
    QLabel* caret_ = nullptr;
    QAction* save_ = nullptr;
    QAction* run_ = nullptr;
};

}  // namespace quillon
