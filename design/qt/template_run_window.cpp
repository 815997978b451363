#include "design/qt/template_run_window.h"

#include <QLabel>
#include <QTextBrowser>
#include <QVBoxLayout>

#include "platform/core/html_escape.h"

namespace quillon {

TemplateRunWindow::TemplateRunWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    auto* layout = new QVBoxLayout(this);
    note_ = new QLabel(this);
    note_->setWordWrap(true);
    note_->setTextInteractionFlags(Qt::TextSelectableByMouse);
    layout->addWidget(note_);
    levels_ = new QTextBrowser(this);
    levels_->setOpenLinks(false);
    layout->addWidget(levels_, 1);
    resize(760, 640);
}

void TemplateRunWindow::Show(const TemplateRunResult& result) {
    const QString file = QString::fromStdString(result.levels.file);
    setWindowTitle((file.isEmpty() ? QString("Template") : file) + " - levels - Quillon");
    QString note;
    if (!result.loaded) {
        note = "<b style=\"color:#b00000\">The template does not load.</b>";
    }
    if (!result.messages.empty()) {
        if (!note.isEmpty()) note += "<br>";
        note += QString::fromStdString(HtmlEscape(result.messages)).trimmed().replace('\n', "<br>");
    }
    if (!result.preview.empty()) {
        if (!note.isEmpty()) note += "<br>";
        note += "Preview: " + QString::fromStdString(HtmlEscape(result.preview));
    }
    note_->setText(note);
    note_->setVisible(!note.isEmpty());
    if (result.loaded) {
        levels_->setHtml(QString::fromStdString(design::LevelsHtml(result.levels)));
    } else {
        levels_->clear();
    }
}

}  // namespace quillon
