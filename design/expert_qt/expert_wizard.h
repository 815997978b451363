#pragma once
// ExpertWizard: the report expert's four pages as a QWizard that mirrors an ExpertModel.
// The model holds every rule (which buttons are enabled, what the field moves do, where
// Next may go); the widgets only show it and pass the user's actions on.

#include <QStringList>
#include <QWizard>
#include <functional>
#include <string>
#include <vector>

#include "design/expert/expert_model.h"

class QCheckBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;

namespace quillon::design {

class ExpertWizard : public QWizard {
    Q_OBJECT

  public:
    explicit ExpertWizard(ExpertModel& model, QWidget* parent = nullptr);

    // The close question (Yes: true); by default a Yes/No message box.
    std::function<bool(const std::string&)> Confirm;
    // A message such as an unresolvable data set; by default a message box.
    std::function<void(const std::string&)> ShowMessage;

    // The last page asks for the template file (preset to file) and whether to open it in
    // the editor afterwards, and says intro above the run code. Without it the last page
    // shows the model's run code only.
    void AskForTemplateFile(const std::string& file, const std::string& intro);
    // The run code shown on the last page for the template file; by default the model's.
    std::function<std::vector<std::string>(const std::string& file)> RunCodeFor;
    // Create on the last page: writes the template and returns an error text (shown, and
    // the wizard stays open), empty on success.
    std::function<std::string(const std::string& file)> Create;
    std::string TemplateFile() const;
    bool OpenInEditor() const;

    // The controls, for tests and for callers that preset them.
    QListWidget* Sources() const { return sources_; }
    QListWidget* AvailableList() const { return available_; }
    QListWidget* SelectedList() const { return selected_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* AddAllButton() const { return add_all_; }
    QPushButton* RemoveButton() const { return remove_; }
    QPushButton* RemoveAllButton() const { return remove_all_; }
    QPushButton* UpButton() const { return up_; }
    QPushButton* DownButton() const { return down_; }
    QLineEdit* TitleEdit() const { return title_; }
    QCheckBox* PageNumberBox() const { return page_no_; }
    QCheckBox* DateTimeBox() const { return date_time_; }
    QRadioButton* PortraitButton() const { return portrait_; }
    QRadioButton* LandscapeButton() const { return landscape_; }
    QPlainTextEdit* RunCodeMemo() const { return run_code_; }
    QLineEdit* TemplateFileEdit() const { return file_; }
    QCheckBox* OpenInEditorBox() const { return open_in_editor_; }
    // The texts of a page: its prompt, notes and control captions, for checks of wording.
    QStringList PageTexts(int page) const;

    bool validateCurrentPage() override;
    void reject() override;

  private:
    class Page;
    void BuildSourcePage();
    void BuildFieldsPage();
    void BuildOptionsPage();
    void BuildFinishPage();
    void ShowFields(int available_row, int selected_row);
    void UpdateButtons();
    void Changed();
    void OnPageChanged(int id);
    void ShowRunCode();

    ExpertModel& model_;
    Page* pages_[kExpertPages] = {};
    QListWidget* sources_ = nullptr;
    QListWidget* available_ = nullptr;
    QListWidget* selected_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* add_all_ = nullptr;
    QPushButton* remove_ = nullptr;
    QPushButton* remove_all_ = nullptr;
    QPushButton* up_ = nullptr;
    QPushButton* down_ = nullptr;
    QLineEdit* title_ = nullptr;
    QCheckBox* page_no_ = nullptr;
    QCheckBox* date_time_ = nullptr;
    QRadioButton* portrait_ = nullptr;
    QRadioButton* landscape_ = nullptr;
    QPlainTextEdit* run_code_ = nullptr;
    QLabel* finish_text_ = nullptr;
    QWidget* file_row_ = nullptr;
    QLineEdit* file_ = nullptr;
    QCheckBox* open_in_editor_ = nullptr;
};

}  // namespace quillon::design
