// The expert's wizard: its buttons follow the model's rules, field moves reach the model,
// an unresolvable data set keeps the first page, Cancel asks first, Create ends with OK.

#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
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
    EXPECT_EQ(messages, Names{"The data source \"Gone\" cannot be found. Choose another one."});

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

// Goes from the first page to the last with every field chosen; with a directory in
// QUILLON_EXPERT_PICTURES each page is drawn into PAGE_N.png there for a look.
void WalkToTheLastPage(ExpertWizard& wizard) {
    const QString pictures = qEnvironmentVariable("QUILLON_EXPERT_PICTURES");
    const auto picture = [&](int page) {
        if (!pictures.isEmpty()) {
            wizard.grab().save(QDir(pictures).filePath(QStringLiteral("page_%1.png").arg(page)));
        }
    };
    wizard.resize(560, 400);
    wizard.Sources()->setCurrentRow(0);
    picture(0);
    wizard.button(QWizard::NextButton)->click();
    wizard.AddAllButton()->click();
    picture(1);
    wizard.button(QWizard::NextButton)->click();
    picture(2);
    wizard.button(QWizard::NextButton)->click();
    picture(3);
}

TEST(ExpertWizard, ForReportAuthorsTheLastPageAsksForTheTemplateFile) {
    Form form;
    ExpertModel model = form.Model();
    ExpertWizard wizard(model);
    std::vector<std::string> messages, created;
    wizard.ShowMessage = [&](const std::string& m) { messages.push_back(m); };
    wizard.RunCodeFor = [&](const std::string& file) {
        return Names{"quillon run " + file + " (" + std::to_string(model.Selected().size()) + ")"};
    };
    std::string refusal = "The template cannot be written: no such folder";
    wizard.Create = [&](const std::string& file) {
        created.push_back(file);
        return refusal;
    };
    wizard.AskForTemplateFile("orders.htm", "Create writes the template.");
    wizard.show();
    WalkToTheLastPage(wizard);
    ASSERT_EQ(wizard.currentId(), 3);
    EXPECT_TRUE(wizard.TemplateFileEdit()->isVisible());
    EXPECT_TRUE(wizard.OpenInEditor());
    // The run code follows the fields chosen and the file typed.
    EXPECT_EQ(wizard.RunCodeMemo()->toPlainText().toStdString(), "quillon run orders.htm (2)\n");
    wizard.TemplateFileEdit()->setText(QStringLiteral(" out/o.htm "));
    EXPECT_EQ(wizard.RunCodeMemo()->toPlainText().toStdString(), "quillon run out/o.htm (2)\n");

    // A template that cannot be written keeps the wizard open with the reason.
    QAbstractButton* create = wizard.button(QWizard::FinishButton);
    create->click();
    EXPECT_TRUE(wizard.isVisible());
    EXPECT_FALSE(model.Finished());
    EXPECT_EQ(messages, Names{refusal});
    refusal.clear();
    wizard.OpenInEditorBox()->setChecked(false);
    create->click();
    EXPECT_EQ(created, (Names{"out/o.htm", "out/o.htm"}));
    EXPECT_TRUE(model.Finished());
    EXPECT_EQ(wizard.result(), QDialog::Accepted);
    EXPECT_FALSE(wizard.OpenInEditor());
}

TEST(ExpertWizard, TextsSpeakToReportAuthors) {
    Form form;
    ExpertModel model = form.Model();
    ExpertWizard wizard(model);
    wizard.AskForTemplateFile("orders.htm", "Create writes the template.");
    wizard.show();
    WalkToTheLastPage(wizard);
    for (int page = 0; page < kExpertPages; ++page) {
        const QStringList texts = wizard.PageTexts(page);
        EXPECT_FALSE(texts.isEmpty()) << page;
        for (const QString& text : texts) {
            for (const char* jargon : {"persistent", "NIL", "Comp ", "data set", "event handler",
                                       "formating", " ?", "report ?", "insert in report"}) {
                EXPECT_FALSE(text.contains(QLatin1String(jargon), Qt::CaseInsensitive))
                    << page << ": " << text.toStdString() << " holds " << jargon;
            }
        }
    }
    EXPECT_TRUE(wizard.PageTexts(2).contains(
        QStringLiteral("What is the title of the report, and what should its pages show?")));
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
