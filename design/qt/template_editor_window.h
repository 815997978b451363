#pragma once
// The template editor window: a `TCRRichEdit` on a template file with a File menu (New,
// Open, Save keeping the previous version as FILE.bak, Save As, Close; unsaved changes are
// asked about before they are dropped), a find bar (Find, Replace, Replace All) and Run,
// which loads the text being edited as a template and shows its levels in a window of
// their own (and, when the runner makes one, a preview of the report).

#include <QMainWindow>
#include <QMessageBox>

#include <filesystem>
#include <functional>
#include <string>

#include "design/qt/template_run_window.h"

class QAction;

namespace quillon {

class TCRRichEdit;
class TemplateFindBar;

// Loads template bytes; the file name decides the template's kind.
using TemplateRunner =
    std::function<TemplateRunResult(const std::string& file_name, const std::string& bytes)>;

class TemplateEditorWindow : public QMainWindow {
  public:
    // file may be empty (a new, untitled template) or name a file that does not exist yet
    // (created by the first Save).
    TemplateEditorWindow(std::filesystem::path file, TemplateRunner runner,
                         QWidget* parent = nullptr);

    // Reads the file into the editor; a file that does not exist gives an empty editor.
    // False with a message when the file exists but cannot be read.
    bool Load(std::string& error);
    // Writes the editor's text to the file (asking for a name when there is none); false
    // with a message (also shown) when it fails or no name was chosen.
    bool Save(std::string& error);
    // Writes the text to another file, which the editor then edits.
    bool SaveAs(const std::filesystem::path& file, std::string& error);
    // Edits another file / a new empty template, after asking about unsaved changes; false
    // when the user kept the current text (or the file cannot be read).
    bool Open(const std::filesystem::path& file, std::string& error);
    bool New();
    // Runs the loader over the text being edited and shows what it found.
    TemplateRunResult Run();

    const std::filesystem::path& File() const { return file_; }
    TCRRichEdit& Editor() { return *editor_; }
    TemplateFindBar& FindBar() { return *find_bar_; }
    TemplateRunWindow& RunWindow() { return *run_window_; }
    QAction& SaveAction() { return *save_; }
    QAction& RunAction() { return *run_; }
    QAction& Action(const QString& name);  // by object name: "new", "open", "find", ...

    // The question before unsaved changes are dropped (Save, Discard or Cancel) and the
    // choice of a file to open or save; replaceable (tests answer them without a dialog).
    std::function<QMessageBox::StandardButton()> ask_unsaved;
    std::function<std::filesystem::path(bool for_saving)> choose_file;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    QAction* AddAction(QMenu* menu, const QString& name, const QString& text,
                       const QKeySequence& keys, std::function<void()> run);
    // True when the text may be replaced: unchanged, saved, or the changes dropped.
    bool MayDropText();
    void UseFile(std::filesystem::path file);
    void ShowCaret();
    void ShowTitle();

    std::filesystem::path file_;
    TemplateRunner runner_;
    TCRRichEdit* editor_ = nullptr;
    TemplateFindBar* find_bar_ = nullptr;
    TemplateRunWindow* run_window_ = nullptr;
    QLabel* caret_ = nullptr;
    QAction* save_ = nullptr;
    QAction* run_ = nullptr;
};

}  // namespace quillon
