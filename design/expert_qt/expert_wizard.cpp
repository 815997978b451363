#include "design/expert_qt/expert_wizard.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QFileDialog>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <vector>

namespace quillon::design {

// A page whose Next button follows the model.
class ExpertWizard::Page : public QWizardPage {
  public:
    Page(const ExpertModel& model, int number) : model_(model), number_(number) {}
    bool isComplete() const override { return model_.Page() != number_ || model_.NextEnabled(); }
    void Changed() { Q_EMIT completeChanged(); }

  private:
    const ExpertModel& model_;
    int number_;
};

namespace {

QString Q(const std::string& s) {
    return QString::fromStdString(s);
}

std::vector<int> SelectedRows(const QListWidget* list) {
    std::vector<int> rows;
    for (int i = 0; i < list->count(); ++i) {
        if (list->item(i)->isSelected()) rows.push_back(i);
    }
    return rows;
}

void Fill(QListWidget* list, const std::vector<std::string>& items, int current) {
    list->clear();
    for (const std::string& item : items) list->addItem(Q(item));
    if (current >= 0 && current < list->count()) list->setCurrentRow(current);
}

}  // namespace

ExpertWizard::ExpertWizard(ExpertModel& model, QWidget* parent) : QWizard(parent), model_(model) {
    setWindowTitle(QStringLiteral("Quillon Expert"));
    setWizardStyle(QWizard::ClassicStyle);
    setOption(QWizard::NoBackButtonOnStartPage, false);
    setButtonText(QWizard::CancelButton, QStringLiteral("&Cancel"));
    setButtonText(QWizard::BackButton, QStringLiteral("&Back"));
    setButtonText(QWizard::NextButton, QStringLiteral("&Next"));
    setButtonText(QWizard::FinishButton, QStringLiteral("&Create"));
    BuildSourcePage();
    BuildFieldsPage();
    BuildOptionsPage();
    BuildFinishPage();
    connect(this, &QWizard::currentIdChanged, this, &ExpertWizard::OnPageChanged);
    Changed();
    Confirm = [this](const std::string& text) {
        return QMessageBox::question(this, windowTitle(), Q(text),
                                     QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
    };
    ShowMessage = [this](const std::string& text) {
        QMessageBox::warning(this, windowTitle(), Q(text));
    };
}

void ExpertWizard::BuildSourcePage() {
    auto* page = new Page(model_, 0);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral("Choose the data source of the report.")));
    sources_ = new QListWidget;
    for (const std::string& name : model_.DataSets()) sources_->addItem(Q(name));
    layout->addWidget(sources_);
    auto* note = new QLabel(QStringLiteral(
        "Each record of the data source becomes a row of the report. On the next page you "
        "choose which of its fields the report shows."));
    note->setWordWrap(true);
    layout->addWidget(note);
    connect(sources_, &QListWidget::currentRowChanged, this, [this](int row) {
        model_.SetSelectedDataSet(row);
        Changed();
    });
    connect(sources_, &QListWidget::itemDoubleClicked, this, [this] { next(); });
    pages_[0] = page;
    addPage(page);
}

void ExpertWizard::BuildFieldsPage() {
    auto* page = new Page(model_, 1);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(QStringLiteral(
        "Choose the fields the report shows: each becomes a column, in the order of the list "
        "on the right.")));
    auto* row = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    available_ = new QListWidget;
    available_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* available_label = new QLabel(QStringLiteral("&Available fields"));
    available_label->setBuddy(available_);
    left->addWidget(available_label);
    left->addWidget(available_);
    auto* middle = new QVBoxLayout;
    add_ = new QPushButton(QStringLiteral(">"));
    add_all_ = new QPushButton(QStringLiteral(">>"));
    remove_ = new QPushButton(QStringLiteral("<"));
    remove_all_ = new QPushButton(QStringLiteral("<<"));
    add_->setToolTip(QStringLiteral("Add the chosen fields to the report"));
    add_all_->setToolTip(QStringLiteral("Add all fields to the report"));
    remove_->setToolTip(QStringLiteral("Take the chosen fields out of the report"));
    remove_all_->setToolTip(QStringLiteral("Take all fields out of the report"));
    for (QPushButton* b : {add_, add_all_, remove_, remove_all_}) middle->addWidget(b);
    middle->addStretch();
    auto* right = new QVBoxLayout;
    selected_ = new QListWidget;
    selected_->setSelectionMode(QAbstractItemView::ExtendedSelection);
    auto* selected_label = new QLabel(QStringLiteral("&Fields in the report"));
    selected_label->setBuddy(selected_);
    right->addWidget(selected_label);
    right->addWidget(selected_);
    auto* order = new QVBoxLayout;
    up_ = new QPushButton(QStringLiteral("Move &up"));
    down_ = new QPushButton(QStringLiteral("Move do&wn"));
    order->addStretch();
    order->addWidget(up_);
    order->addWidget(down_);
    order->addStretch();
    row->addLayout(left);
    row->addLayout(middle);
    row->addLayout(right);
    row->addLayout(order);
    layout->addLayout(row);

    connect(add_, &QPushButton::clicked, this, [this] {
        const int row = model_.AddFields(SelectedRows(available_));
        ShowFields(row, -1);
    });
    connect(add_all_, &QPushButton::clicked, this, [this] { ShowFields(model_.AddAll(), -1); });
    connect(remove_, &QPushButton::clicked, this, [this] {
        const int row = model_.RemoveFields(SelectedRows(selected_));
        ShowFields(-1, row);
    });
    connect(remove_all_, &QPushButton::clicked, this,
            [this] { ShowFields(-1, model_.RemoveAll()); });
    connect(up_, &QPushButton::clicked, this,
            [this] { ShowFields(-1, model_.MoveUp(selected_->currentRow())); });
    connect(down_, &QPushButton::clicked, this,
            [this] { ShowFields(-1, model_.MoveDown(selected_->currentRow())); });
    pages_[1] = page;
    addPage(page);
}

void ExpertWizard::BuildOptionsPage() {
    auto* page = new Page(model_, 2);
    auto* layout = new QVBoxLayout(page);
    layout->addWidget(new QLabel(
        QStringLiteral("What is the title of the report, and what should its pages show?")));
    title_ = new QLineEdit(Q(model_.title));
    auto* title_label = new QLabel(QStringLiteral("&Report title:"));
    title_label->setBuddy(title_);
    layout->addWidget(title_label);
    layout->addWidget(title_);
    page_no_ = new QCheckBox(QStringLiteral("Print the &page number on every page"));
    page_no_->setChecked(model_.page_number);
    date_time_ =
        new QCheckBox(QStringLiteral("Print the &date and time of printing on every page"));
    date_time_->setChecked(model_.date_time);
    layout->addWidget(page_no_);
    layout->addWidget(date_time_);
    auto* group = new QGroupBox(QStringLiteral("Orientation"));
    auto* group_layout = new QVBoxLayout(group);
    portrait_ = new QRadioButton(QStringLiteral("P&ortrait"));
    landscape_ = new QRadioButton(QStringLiteral("&Landscape"));
    (model_.landscape ? landscape_ : portrait_)->setChecked(true);
    group_layout->addWidget(portrait_);
    group_layout->addWidget(landscape_);
    layout->addWidget(group);
    layout->addStretch();
    connect(title_, &QLineEdit::textChanged, this,
            [this](const QString& text) { model_.title = text.toStdString(); });
    connect(page_no_, &QCheckBox::toggled, this, [this](bool on) { model_.page_number = on; });
    connect(date_time_, &QCheckBox::toggled, this, [this](bool on) { model_.date_time = on; });
    connect(landscape_, &QRadioButton::toggled, this, [this](bool on) { model_.landscape = on; });
    pages_[2] = page;
    addPage(page);
}

void ExpertWizard::BuildFinishPage() {
    auto* page = new Page(model_, 3);
    auto* layout = new QVBoxLayout(page);
    finish_text_ = new QLabel(QStringLiteral(
        "The expert has all it needs: Create writes the report template and the code that "
        "feeds it.\n\nTo run the report and show it, copy the code below into your "
        "program."));
    finish_text_->setWordWrap(true);
    layout->addWidget(finish_text_);
    file_row_ = new QWidget;
    auto* file_layout = new QHBoxLayout(file_row_);
    file_layout->setContentsMargins(0, 0, 0, 0);
    file_ = new QLineEdit;
    auto* file_label = new QLabel(QStringLiteral("&Template file:"));
    file_label->setBuddy(file_);
    auto* browse = new QPushButton(QStringLiteral("&Browse..."));
    file_layout->addWidget(file_label);
    file_layout->addWidget(file_, 1);
    file_layout->addWidget(browse);
    layout->addWidget(file_row_);
    open_in_editor_ = new QCheckBox(QStringLiteral("&Open the template in the editor afterwards"));
    open_in_editor_->setChecked(true);
    file_row_->hide();
    open_in_editor_->hide();
    connect(file_, &QLineEdit::textChanged, this, [this] { ShowRunCode(); });
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen = QFileDialog::getSaveFileName(
            this, QStringLiteral("Template file"), file_->text(),
            QStringLiteral("HTML templates (*.htm *.html);;All files (*)"));
        if (!chosen.isEmpty()) file_->setText(chosen);
    });
    run_code_ = new QPlainTextEdit;
    run_code_->setReadOnly(true);
    run_code_->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    layout->addWidget(run_code_);
    layout->addWidget(open_in_editor_);
    layout->addStretch();
    ShowRunCode();
    pages_[3] = page;
    addPage(page);
}

void ExpertWizard::AskForTemplateFile(const std::string& file, const std::string& intro) {
    finish_text_->setText(Q(intro));
    file_->setText(Q(file));
    file_row_->show();
    open_in_editor_->show();
    run_code_->setMaximumHeight(run_code_->fontMetrics().lineSpacing() * 5);
}

std::string ExpertWizard::TemplateFile() const {
    return file_->text().trimmed().toStdString();
}

bool ExpertWizard::OpenInEditor() const {
    return !open_in_editor_->isHidden() && open_in_editor_->isChecked();
}

void ExpertWizard::ShowRunCode() {
    const std::vector<std::string> lines =
        RunCodeFor ? RunCodeFor(TemplateFile()) : model_.RunCode();
    QString code;
    for (const std::string& line : lines) code += Q(line) + QLatin1Char('\n');
    run_code_->setPlainText(code);
}

QStringList ExpertWizard::PageTexts(int page) const {
    QStringList texts;
    if (page < 0 || page >= kExpertPages || pages_[page] == nullptr) return texts;
    for (const QLabel* label : pages_[page]->findChildren<QLabel*>()) texts << label->text();
    for (const QAbstractButton* b : pages_[page]->findChildren<QAbstractButton*>()) {
        texts << b->text() << b->toolTip();
    }
    for (const QGroupBox* g : pages_[page]->findChildren<QGroupBox*>()) texts << g->title();
    texts.removeAll(QString());
    return texts;
}

void ExpertWizard::ShowFields(int available_row, int selected_row) {
    Fill(available_, model_.Available(), available_row);
    Fill(selected_, model_.Selected(), selected_row);
    Changed();
}

void ExpertWizard::UpdateButtons() {
    add_->setEnabled(model_.AddEnabled());
    add_all_->setEnabled(model_.AddEnabled());
    for (QPushButton* b : {remove_, remove_all_, up_, down_}) b->setEnabled(model_.RemoveEnabled());
}

void ExpertWizard::Changed() {
    UpdateButtons();
    // QWizard enables Back wherever there is history; the expert's first page has none.
    if (QAbstractButton* back = button(QWizard::BackButton)) back->setEnabled(model_.BackEnabled());
    for (Page* page : pages_) {
        if (page) page->Changed();
    }
}

bool ExpertWizard::validateCurrentPage() {
    const int before = model_.Page();
    if (before == kExpertPages - 1 && Create) {
        if (const std::string error = Create(TemplateFile()); !error.empty()) {
            if (ShowMessage) ShowMessage(error);
            return false;
        }
    }
    if (const auto message = model_.Next()) {
        if (ShowMessage) ShowMessage(*message);
        return false;
    }
    if (before == 0) ShowFields(0, 0);
    return model_.Page() != before || model_.Finished();
}

void ExpertWizard::OnPageChanged(int id) {
    while (id >= 0 && model_.Page() > id) model_.Back();
    if (id == kExpertPages - 1) ShowRunCode();
    Changed();
}

void ExpertWizard::reject() {
    if (Confirm && !Confirm(kExpertCancelQuestion)) return;
    QWizard::reject();
}

}  // namespace quillon::design
