#include "design/qt/template_editor_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QFileDialog>
#include <QKeySequence>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QStatusBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <stdexcept>
#include <system_error>

#include "design/qt/cr_rich_edit.h"
#include "design/qt/template_find_bar.h"
#include "design/template_colours.h"
#include "design/template_file.h"

namespace quillon {

namespace {

constexpr const char* kTemplateFilter = "Templates (*.htm *.html *.rtf *.txt);;All files (*)";

}  // namespace

TemplateEditorWindow::TemplateEditorWindow(std::filesystem::path file, TemplateRunner runner,
                                           QWidget* parent)
    : QMainWindow(parent), runner_(std::move(runner)) {
    auto* central = new QWidget(this);
    auto* layout = new QVBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    editor_ = new TCRRichEdit(central);
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    layout->addWidget(editor_, 1);
    find_bar_ = new TemplateFindBar(*editor_, central);
    layout->addWidget(find_bar_);
    setCentralWidget(central);
    run_window_ = new TemplateRunWindow(this);

    ask_unsaved = [this] {
        return QMessageBox::question(
            this, "Quillon", "The template has unsaved changes. Save them?",
            QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    };
    choose_file = [this](bool for_saving) {
        const QString chosen =
            for_saving
                ? QFileDialog::getSaveFileName(this, "Save template as",
                                               QString::fromStdString(file_.string()),
                                               kTemplateFilter)
                : QFileDialog::getOpenFileName(this, "Open template", QString(), kTemplateFilter);
        return std::filesystem::path(chosen.toStdString());
    };

    QMenu* file_menu = menuBar()->addMenu("&File");
    AddAction(file_menu, "new", "&New", QKeySequence::New, [this] { New(); });
    AddAction(file_menu, "open", "&Open...", QKeySequence::Open, [this] {
        const std::filesystem::path chosen = choose_file ? choose_file(false) : "";
        if (chosen.empty()) return;
        std::string error;
        if (!Open(chosen, error) && !error.empty()) {
            QMessageBox::warning(this, "Quillon", QString::fromStdString(error));
        }
    });
    save_ = AddAction(file_menu, "save", "&Save", QKeySequence::Save, [this] {
        std::string error;
        Save(error);
    });
    save_->setToolTip("Save the template, keeping the previous version as .bak");
    AddAction(file_menu, "save-as", "Save &As...", QKeySequence::SaveAs, [this] {
        const std::filesystem::path chosen = choose_file ? choose_file(true) : "";
        if (chosen.empty()) return;
        std::string error;
        SaveAs(chosen, error);
    });
    file_menu->addSeparator();
    AddAction(file_menu, "close", "&Close", QKeySequence::Close, [this] { close(); });

    QMenu* edit_menu = menuBar()->addMenu("&Edit");
    AddAction(edit_menu, "undo", "&Undo", QKeySequence::Undo, [this] { editor_->undo(); });
    AddAction(edit_menu, "redo", "&Redo", QKeySequence::Redo, [this] { editor_->redo(); });
    edit_menu->addSeparator();
    AddAction(edit_menu, "find", "&Find...", QKeySequence::Find, [this] { find_bar_->Open(); });
    AddAction(edit_menu, "find-next", "Find &Next", QKeySequence::FindNext, [this] {
        if (find_bar_->FindText().text().isEmpty()) {
            find_bar_->Open();
        } else {
            find_bar_->FindNext();
        }
    });
    AddAction(edit_menu, "find-previous", "Find &Previous", QKeySequence::FindPrevious,
              [this] { find_bar_->FindPrevious(); });
    AddAction(edit_menu, "replace", "R&eplace...", QKeySequence(Qt::CTRL | Qt::Key_H), [this] {
        find_bar_->Open();
        find_bar_->ReplaceText().setFocus();
    });

    QMenu* template_menu = menuBar()->addMenu("&Template");
    run_ = AddAction(template_menu, "run", "&Run", QKeySequence(Qt::Key_F9), [this] { Run(); });
    run_->setToolTip(
        "Load the text as a template and show its levels (and, with data, a preview) (F9)");

    QToolBar* tools = addToolBar("Template");
    tools->setMovable(false);
    tools->addAction(save_);
    tools->addAction(&Action("find"));
    tools->addAction(run_);

    caret_ = new QLabel(this);
    statusBar()->addPermanentWidget(caret_);
    connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, [this] { ShowCaret(); });
    connect(editor_->document(), &QTextDocument::modificationChanged, this,
            [this](bool) { ShowTitle(); });
    UseFile(std::move(file));
    ShowCaret();
    resize(900, 700);
}

QAction* TemplateEditorWindow::AddAction(QMenu* menu, const QString& name, const QString& text,
                                         const QKeySequence& keys, std::function<void()> run) {
    QAction* action = menu->addAction(text);
    action->setObjectName(name);
    action->setShortcut(keys);
    connect(action, &QAction::triggered, this, [run = std::move(run)] { run(); });
    addAction(action);  // shortcuts work while the find bar has the focus, too
    return action;
}

QAction& TemplateEditorWindow::Action(const QString& name) {
    auto* action = findChild<QAction*>(name);
    if (action == nullptr) throw std::logic_error("no editor action " + name.toStdString());
    return *action;
}

void TemplateEditorWindow::UseFile(std::filesystem::path file) {
    file_ = std::move(file);
    editor_->SetRtfTemplate(design::IsRtfTemplateName(file_.filename().string()));
    ShowTitle();
}

bool TemplateEditorWindow::Load(std::string& error) {
    std::error_code ec;
    if (file_.empty() || !std::filesystem::exists(file_, ec)) {
        editor_->LoadFromBytes("");
        statusBar()->showMessage(file_.empty() ? "New template"
                                               : "New file: the first Save creates it");
    } else {
        std::string bytes;
        if (!design::ReadTemplateFile(file_, bytes, error)) return false;
        editor_->LoadFromBytes(bytes);
    }
    ShowCaret();
    ShowTitle();
    return true;
}

bool TemplateEditorWindow::Save(std::string& error) {
    if (file_.empty()) {
        const std::filesystem::path chosen = choose_file ? choose_file(true) : "";
        if (chosen.empty()) {
            error = "no file name was chosen";
            return false;
        }
        return SaveAs(chosen, error);
    }
    bool utf8_fallback = false;
    const std::string bytes = editor_->TemplateBytes(&utf8_fallback);
    std::error_code ec;
    const bool existed = std::filesystem::exists(file_, ec);
    if (!design::SaveWithBackup(file_, bytes, error)) {
        statusBar()->showMessage(QString::fromStdString("Not saved: " + error));
        return false;
    }
    editor_->document()->setModified(false);
    std::string message = utf8_fallback ? "Saved as UTF-8: the text holds characters that "
                                          "Windows-1252 lacks"
                                        : "Saved";
    if (existed)
        message += "; previous version in " + design::BackupPath(file_).filename().string();
    statusBar()->showMessage(QString::fromStdString(message));
    return true;
}

bool TemplateEditorWindow::SaveAs(const std::filesystem::path& file, std::string& error) {
    const std::filesystem::path previous = file_;
    UseFile(file);
    if (Save(error)) return true;
    UseFile(previous);
    return false;
}

bool TemplateEditorWindow::MayDropText() {
    if (!editor_->document()->isModified()) return true;
    const QMessageBox::StandardButton answer = ask_unsaved ? ask_unsaved() : QMessageBox::Cancel;
    if (answer == QMessageBox::Discard) return true;
    if (answer != QMessageBox::Save) return false;
    std::string error;
    if (Save(error)) return true;
    if (!error.empty()) {
        QMessageBox::warning(this, "Quillon", QString::fromStdString("Not saved: " + error));
    }
    return false;
}

bool TemplateEditorWindow::Open(const std::filesystem::path& file, std::string& error) {
    if (!MayDropText()) return false;
    const std::filesystem::path previous = file_;
    UseFile(file);
    if (Load(error)) return true;
    UseFile(previous);
    return false;
}

bool TemplateEditorWindow::New() {
    if (!MayDropText()) return false;
    UseFile({});
    std::string error;
    return Load(error);
}

TemplateRunResult TemplateEditorWindow::Run() {
    TemplateRunResult result;
    const std::string name = file_.empty() ? std::string("untitled.htm") : file_.string();
    if (runner_) result = runner_(name, editor_->TemplateBytes());
    if (result.levels.file.empty()) result.levels.file = file_.filename().string();
    run_window_->Show(result);
    run_window_->show();
    run_window_->raise();
    statusBar()->showMessage(result.loaded ? "Template loaded" : "Template did not load");
    return result;
}

void TemplateEditorWindow::closeEvent(QCloseEvent* event) {
    if (!MayDropText()) {
        event->ignore();
        return;
    }
    run_window_->close();
    event->accept();
}

void TemplateEditorWindow::ShowCaret() {
    caret_->setText(QString("Line %1, column %2")
                        .arg(editor_->GetCurrentLine() + 1)
                        .arg(editor_->GetCurrentPosition() + 1));
}

void TemplateEditorWindow::ShowTitle() {
    const QString name =
        file_.empty() ? QString("Untitled") : QString::fromStdString(file_.filename().string());
    setWindowTitle(name + (editor_->document()->isModified() ? " *" : "") +
                   " - Quillon template editor");
}

}  // namespace quillon
