#include "design/qt/template_editor_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QKeySequence>
#include <QLabel>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QSplitter>
#include <QStatusBar>
#include <QToolBar>

#include <stdexcept>

#include "design/qt/cr_rich_edit.h"
#include "design/template_file.h"

namespace quillon {

TemplateEditorWindow::TemplateEditorWindow(std::filesystem::path file, TemplateRunner runner,
                                           QWidget* parent)
    : QMainWindow(parent), file_(std::move(file)), runner_(std::move(runner)) {
    auto* splitter = new QSplitter(Qt::Vertical, this);
    editor_ = new TCRRichEdit(splitter);
    editor_->setLineWrapMode(QPlainTextEdit::NoWrap);
    overview_ = new QPlainTextEdit(splitter);
    overview_->setReadOnly(true);
    overview_->setLineWrapMode(QPlainTextEdit::NoWrap);
    overview_->setFont(editor_->font());
    overview_->setPlaceholderText("Run shows the levels and field slots the loader finds.");
    splitter->setStretchFactor(0, 3);
    splitter->setStretchFactor(1, 1);
    setCentralWidget(splitter);

    QToolBar* tools = addToolBar("Template");
    tools->setMovable(false);
    save_ = tools->addAction("Save");
    save_->setShortcut(QKeySequence::Save);
    save_->setToolTip("Save the template, keeping the previous version as .bak");
    run_ = tools->addAction("Run");
    run_->setShortcut(QKeySequence(Qt::Key_F9));
    run_->setToolTip("Load the text as a template and show its levels and slots (F9)");
    connect(save_, &QAction::triggered, this, [this] {
        std::string error;
        Save(error);
    });
    connect(run_, &QAction::triggered, this, [this] { Run(); });

    caret_ = new QLabel(this);
    statusBar()->addPermanentWidget(caret_);
    connect(editor_, &QPlainTextEdit::cursorPositionChanged, this, [this] { ShowCaret(); });
    connect(editor_->document(), &QTextDocument::modificationChanged, this,
            [this](bool) { ShowTitle(); });
    ShowCaret();
    ShowTitle();
    resize(900, 700);
}

bool TemplateEditorWindow::Load(std::string& error) {
    try {
        editor_->LoadFromFile(file_);
    } catch (const std::exception& e) {
        error = e.what();
        return false;
    }
    ShowCaret();
    ShowTitle();
    return true;
}

bool TemplateEditorWindow::Save(std::string& error) {
    bool utf8_fallback = false;
    const std::string bytes = editor_->TemplateBytes(&utf8_fallback);
    if (!design::SaveWithBackup(file_, bytes, error)) {
        statusBar()->showMessage(QString::fromStdString("Not saved: " + error));
        return false;
    }
    editor_->document()->setModified(false);
    statusBar()->showMessage(QString::fromStdString(
        utf8_fallback
            ? "Saved as UTF-8: the text holds characters that "
              "Windows-1252 lacks; previous version in " +
                  design::BackupPath(file_).filename().string()
            : "Saved; previous version in " + design::BackupPath(file_).filename().string()));
    return true;
}

TemplateRunResult TemplateEditorWindow::Run() {
    TemplateRunResult result;
    if (runner_) result = runner_(file_.string(), editor_->TemplateBytes());
    std::string shown = result.messages;
    if (!shown.empty() && !result.overview.empty()) shown += '\n';
    shown += result.overview;
    if (!result.loaded && shown.empty()) shown = "The template did not load.";
    overview_->setPlainText(QString::fromStdString(shown));
    statusBar()->showMessage(result.loaded ? "Template loaded" : "Template did not load");
    return result;
}

void TemplateEditorWindow::closeEvent(QCloseEvent* event) {
    if (!editor_->document()->isModified()) {
        event->accept();
        return;
    }
    const auto answer = QMessageBox::question(
        this, "Quillon", "The template has unsaved changes. Save them?",
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    if (answer == QMessageBox::Cancel) {
        event->ignore();
        return;
    }
    if (answer == QMessageBox::Save) {
        std::string error;
        if (!Save(error)) {
            QMessageBox::warning(this, "Quillon", QString::fromStdString("Not saved: " + error));
            event->ignore();
            return;
        }
    }
    event->accept();
}

void TemplateEditorWindow::ShowCaret() {
    caret_->setText(QString("Line %1, column %2")
                        .arg(editor_->GetCurrentLine() + 1)
                        .arg(editor_->GetCurrentPosition() + 1));
}

void TemplateEditorWindow::ShowTitle() {
    setWindowTitle(QString::fromStdString(file_.filename().string()) +
                   (editor_->document()->isModified() ? " *" : "") + " - Quillon template editor");
}

}  // namespace quillon
