#pragma once
// ExpertWizard: the report expert's four pages as a QWizard that mirrors an ExpertModel.
// The model holds every rule (which buttons are enabled, what the field moves do, where
// Next may go); the widgets only show it and pass the user's actions on.

#include <QWizard>
#include <functional>
#include <string>

#include "design/expert/expert_model.h"

class QCheckBox;
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
};

}  // namespace quillon::design
