// The expert's wizard: its buttons follow the model's rules, field moves reach the model,
// an unresolvable data set keeps the first page, Cancel asks first, Create ends with OK.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <optional>
#include <string>
#include <vector>

#include "design/expert_qt/expert_wizard.h"

namespace quillon::design {
namespace {

using Names = std::vector<std::string>;

struct Form {
    std::vector<DesignComponent> components = {
        {"Orders", "TTable", true, {{"ID", "Order", 5}, {"ITEM", "Item", 20}}},
        {"Gone", "TTable", true, {}},
    };
    ExpertModel Model() {
        EditedReport report;
        report.name = "Rep";
        report.landscape = true;
        return ExpertModel(report, {"Orders", "Gone"}, [this](const std::string& name) {
            std::optional<DesignComponent> found;
            if (name == "Orders") found = components[0];
            return found;
        });
    }
};

Names Items(const QListWidget* list) {
    Names out;
    for (int i = 0; i < list->count(); ++i) out.push_back(list->item(i)->text().toStdString());
    return out;
}

TEST(ExpertWizard, PagesFollowTheModel) {
    Form form;
    ExpertModel model = form.Model();
    ExpertWizard wizard(model);
    std::vector<std::string> messages;
    wizard.ShowMessage = [&](const std::string& m) { messages.push_back(m); };
    wizard.show();
    QAbstractButton* next = wizard.button(QWizard::NextButton);
    QAbstractButton* back = wizard.button(QWizard::BackButton);
    EXPECT_EQ(next->text().toStdString(), "&Next");
    // The list may make its first row current when it takes the focus; Next follows it.
    EXPECT_EQ(model.SelectedDataSet(), wizard.Sources()->currentRow());
    wizard.Sources()->setCurrentRow(-1);
    EXPECT_FALSE(next->isEnabled());
    EXPECT_FALSE(back->isEnabled());
    EXPECT_TRUE(wizard.LandscapeButton()->isChecked());
    EXPECT_NE(wizard.RunCodeMemo()->toPlainText().toStdString().find("Rep.ExecAndLoad()"),
              std::string::npos);

    // A data set that cannot be resolved keeps the first page.
    wizard.Sources()->setCurrentRow(1);
    EXPECT_TRUE(next->isEnabled());
    next->click();
    EXPECT_EQ(wizard.currentId(), 0);
    EXPECT_EQ(messages, Names{"Comp is NIL"});

    wizard.Sources()->setCurrentRow(0);
    next->click();
    ASSERT_EQ(wizard.currentId(), 1);
    EXPECT_EQ(model.Page(), 1);
    EXPECT_EQ(Items(wizard.AvailableList()), (Names{"ID", "ITEM"}));
    EXPECT_FALSE(next->isEnabled());
    EXPECT_FALSE(wizard.RemoveButton()->isEnabled());

    wizard.AvailableList()->clearSelection();
    wizard.AvailableList()->item(1)->setSelected(true);
    wizard.AddButton()->click();
    EXPECT_EQ(Items(wizard.SelectedList()), Names{"ITEM"});
    EXPECT_TRUE(next->isEnabled());
    wizard.AddAllButton()->click();
    EXPECT_FALSE(wizard.AddButton()->isEnabled());
    wizard.SelectedList()->setCurrentRow(1);
    wizard.UpButton()->click();
    EXPECT_EQ(model.Selected(), (Names{"ID", "ITEM"}));

    // Back and Next again with the same data set keep the choice.
    back->click();
    EXPECT_EQ(model.Page(), 0);
    next->click();
    EXPECT_EQ(Items(wizard.SelectedList()), (Names{"ID", "ITEM"}));

    next->click();
    wizard.TitleEdit()->setText(QStringLiteral("Orders"));
    wizard.DateTimeBox()->setChecked(false);
    wizard.PortraitButton()->setChecked(true);
    next->click();
    EXPECT_EQ(wizard.currentId(), 3);
    EXPECT_EQ(model.title, "Orders");
    EXPECT_FALSE(model.date_time);
    EXPECT_FALSE(model.landscape);
    QAbstractButton* create = wizard.button(QWizard::FinishButton);
    EXPECT_EQ(create->text().toStdString(), "&Create");
    create->click();
    EXPECT_TRUE(model.Finished());
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
}

TEST(ExpertWizard, CancelAsksFirst) {
    Form form;
    ExpertModel model = form.Model();
    ExpertWizard wizard(model);
    std::vector<std::string> questions;
    bool answer = false;
    wizard.Confirm = [&](const std::string& q) {
        questions.push_back(q);
        return answer;
    };
    wizard.show();
    wizard.button(QWizard::CancelButton)->click();
    EXPECT_TRUE(wizard.isVisible());
    answer = true;
    wizard.button(QWizard::CancelButton)->click();
    EXPECT_FALSE(wizard.isVisible());
    EXPECT_EQ(wizard.result(), QDialog::Rejected);
    EXPECT_EQ(questions, Names(2, "Are you sure that you want to close the Quillon Expert?"));
}

}  // namespace
}  // namespace quillon::design
