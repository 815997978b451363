#include "apps/quillon/expert_wizard_run.h"

#include <QApplication>
#include <QCheckBox>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>

#include <filesystem>
#include <iostream>
#include <sstream>

#include "apps/quillon/gui_application.h"
#include "apps/quillon/template_runner.h"
#include "design/expert/expert_model.h"
#include "design/expert_qt/expert_wizard.h"
#include "design/qt/template_editor_window.h"

namespace quillon::app {

namespace {

constexpr int kExitNoWindow = 5;

// The data source as the wizard's first page lists it.
std::string SourceName(const ExpertSource& source) {
    const std::string file = std::filesystem::path(source.data).filename().string();
    if (!source.table.empty()) return file + ", table " + source.table;
    if (!source.query.empty()) return file + ", query";
    return file;
}

// The proposed template file: beside the current folder, named after the table or file.
std::string ProposedFile(const ExpertSource& source) {
    std::filesystem::path name = source.table.empty()
                                     ? std::filesystem::path(source.data).filename()
                                     : std::filesystem::path(source.table);
    name.replace_extension(".htm");
    return name.string();
}

// The template the wizard's choices make.
ExpertTemplate Chosen(const design::ExpertModel& model, const ExpertTemplate& start,
                      const std::string& file) {
    ExpertTemplate t = start;
    t.file = file;
    t.options.title = model.title;
    t.options.page_number = model.page_number;
    t.options.date_time = model.date_time;
    t.landscape = model.landscape;
    t.fields = model.ChosenFields();
    return t;
}

// Opens the written template in the template editor window, as quillon edit does, and
// returns once it is closed.
void EditTemplate(const std::string& file, const std::string& format_name) {
    const TemplateRunner runner = MakeTemplateRunner(format_name);
    TemplateEditorWindow window(file, runner);
    std::string error;
    if (!window.Load(error)) {
        std::cerr << "quillon expert: " << error << '\n';
        return;
    }
    window.show();
    QApplication::exec();
}

// Draws the wizard's pages into PNG files: the first page into screenshot, the later ones,
// with every field chosen, into screenshot with "-2", "-3" and "-4" before its extension.
int DrawPages(design::ExpertWizard& wizard, const std::string& screenshot, std::string& error) {
    wizard.show();
    for (int page = 1; page <= design::kExpertPages; ++page) {
        std::filesystem::path file = screenshot;
        if (page > 1) {
            file.replace_filename(file.stem().string() + "-" + std::to_string(page) +
                                  file.extension().string());
        }
        if (page == 2) wizard.AddAllButton()->click();
        QApplication::processEvents();
        if (!wizard.grab().save(QString::fromStdString(file.string()), "PNG")) {
            error = "cannot write the picture " + file.string();
            return kExitNoWindow;
        }
        if (page < design::kExpertPages) wizard.next();
    }
    return 0;
}

}  // namespace

int RunExpertWizard(const ExpertSource& source, ExpertTemplate start, const std::string& screenshot,
                    std::string& error) {
    if (!HasDisplay()) {
        error =
            "no display to open the wizard on (DISPLAY is not set); give --out TEMPLATE.htm "
            "to write the template without it";
        return kExitNoWindow;
    }
    const WidgetApplication application;

    const std::string source_name = SourceName(source);
    std::vector<design::DesignField> fields;
    for (const design::ExpertField& f : start.fields) {
        fields.push_back({f.name, f.label, f.width, f.number, f.decimals});
    }
    design::EditedReport report;
    report.name = "Report";
    report.landscape = start.landscape;
    design::ExpertModel model(
        report, {source_name},
        [&](const std::string& wanted) -> std::optional<design::DesignComponent> {
            if (wanted != source_name) return std::nullopt;
            return design::DesignComponent{source_name, "", true, fields};
        });
    model.title = start.options.title;
    model.page_number = start.options.page_number;
    model.date_time = start.options.date_time;

    design::ExpertWizard wizard(model);
    wizard.RunCodeFor = [&](const std::string& file) {
        return std::vector<std::string>{ExpertRunCommand(source, Chosen(model, start, file))};
    };
    std::string written;
    wizard.Create = [&](const std::string& file) -> std::string {
        if (file.empty()) return "Give the file the template is written to.";
        std::string why;
        std::ostringstream printed;
        if (WriteExpertTemplate(source, Chosen(model, start, file), printed, why) != 0) {
            return "The template cannot be written: " + why;
        }
        std::cout << printed.str() << std::flush;
        written = file;
        return {};
    };
    wizard.AskForTemplateFile(
        start.file.empty() ? ProposedFile(source) : start.file,
        "The expert has all it needs: Create writes the report template to the file below.\n\n"
        "To run the report and print it to PDF, use the command under it: its page sizes put "
        "about a printed page's worth of rows on every page.");
    wizard.Sources()->setCurrentRow(0);

    if (!screenshot.empty()) return DrawPages(wizard, screenshot, error);
    if (wizard.exec() != QDialog::Accepted || written.empty()) return 0;
    if (wizard.OpenInEditor()) EditTemplate(written, start.options.format_name);
    return 0;
}

}  // namespace quillon::app
