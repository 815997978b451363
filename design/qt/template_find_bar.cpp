#include "design/qt/template_find_bar.h"

#include <QCheckBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTextDocument>
#include <QToolButton>

namespace quillon {

namespace {

QToolButton* Button(QWidget* parent, const QString& text, const QString& tip) {
    auto* button = new QToolButton(parent);
    button->setText(text);
    button->setToolTip(tip);
    return button;
}

}  // namespace

TemplateFindBar::TemplateFindBar(QPlainTextEdit& editor, QWidget* parent)
    : QWidget(parent), editor_(editor) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(4, 2, 4, 2);
    layout->addWidget(new QLabel("Find:", this));
    find_ = new QLineEdit(this);
    find_->setClearButtonEnabled(true);
    layout->addWidget(find_, 2);
    QToolButton* previous = Button(this, "Previous", "Find the previous match (Shift+F3)");
    QToolButton* next = Button(this, "Next", "Find the next match (F3)");
    layout->addWidget(previous);
    layout->addWidget(next);
    layout->addWidget(new QLabel("Replace with:", this));
    replace_ = new QLineEdit(this);
    layout->addWidget(replace_, 2);
    QToolButton* replace = Button(this, "Replace", "Replace this match and find the next");
    QToolButton* replace_all = Button(this, "Replace All", "Replace every match");
    layout->addWidget(replace);
    layout->addWidget(replace_all);
    match_case_ = new QCheckBox("Match case", this);
    layout->addWidget(match_case_);
    status_ = new QLabel(this);
    status_->setMinimumWidth(90);
    layout->addWidget(status_);
    QToolButton* close = Button(this, "\u00D7", "Close the find bar (Esc)");
    close->setAutoRaise(true);
    layout->addWidget(close);

    connect(find_, &QLineEdit::returnPressed, this, [this] { FindNext(); });
    connect(replace_, &QLineEdit::returnPressed, this, [this] { Replace(); });
    connect(next, &QToolButton::clicked, this, [this] { FindNext(); });
    connect(previous, &QToolButton::clicked, this, [this] { FindPrevious(); });
    connect(replace, &QToolButton::clicked, this, [this] { Replace(); });
    connect(replace_all, &QToolButton::clicked, this, [this] { ReplaceAll(); });
    connect(close, &QToolButton::clicked, this, [this] {
        hide();
        editor_.setFocus();
    });
    hide();
}

void TemplateFindBar::Open() {
    const QString selected = editor_.textCursor().selectedText();
    if (!selected.isEmpty() && !selected.contains(QChar::ParagraphSeparator)) {
        find_->setText(selected);
    }
    status_->clear();
    show();
    find_->setFocus();
    find_->selectAll();
}

QString TemplateFindBar::Status() const {
    return status_->text();
}

bool TemplateFindBar::FindNext() {
    return Find(false);
}

bool TemplateFindBar::FindPrevious() {
    return Find(true);
}

bool TemplateFindBar::Find(bool backward) {
    const QString text = find_->text();
    if (text.isEmpty()) return false;
    QTextDocument::FindFlags flags;
    if (backward) flags |= QTextDocument::FindBackward;
    if (match_case_->isChecked()) flags |= QTextDocument::FindCaseSensitively;
    QTextDocument& document = *editor_.document();
    QTextCursor found = document.find(text, editor_.textCursor(), flags);
    if (found.isNull()) {
        // Wrap around: from the start (or the end, backwards).
        QTextCursor from(&document);
        if (backward) from.movePosition(QTextCursor::End);
        found = document.find(text, from, flags);
    }
    if (found.isNull()) {
        status_->setText("Not found");
        return false;
    }
    editor_.setTextCursor(found);
    status_->clear();
    return true;
}

bool TemplateFindBar::SelectionIsMatch() const {
    const QString selected = editor_.textCursor().selectedText();
    return !selected.isEmpty() &&
           selected.compare(find_->text(), match_case_->isChecked() ? Qt::CaseSensitive
                                                                    : Qt::CaseInsensitive) == 0;
}

bool TemplateFindBar::Replace() {
    if (find_->text().isEmpty()) return false;
    if (!SelectionIsMatch() && !FindNext()) return false;
    editor_.textCursor().insertText(replace_->text());
    FindNext();
    status_->setText("Replaced");
    return true;
}

int TemplateFindBar::ReplaceAll() {
    const QString text = find_->text();
    if (text.isEmpty()) return 0;
    QTextDocument::FindFlags flags;
    if (match_case_->isChecked()) flags |= QTextDocument::FindCaseSensitively;
    QTextDocument& document = *editor_.document();
    QTextCursor edit(&document);
    edit.beginEditBlock();
    int count = 0;
    QTextCursor found = document.find(text, QTextCursor(&document), flags);
    while (!found.isNull()) {
        found.insertText(replace_->text());
        ++count;
        found = document.find(text, found, flags);
    }
    edit.endEditBlock();
    status_->setText(count == 0 ? QString("Not found") : QString("%1 replaced").arg(count));
    return count;
}

void TemplateFindBar::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        hide();
        editor_.setFocus();
        event->accept();
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace quillon
