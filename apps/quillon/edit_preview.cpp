#include "apps/quillon/edit_preview.h"

#include <unistd.h>

#include <QWidget>

#include <fstream>
#include <vector>

#include "apps/datasource/data_source.h"
#include "apps/quillon/fd_stream.h"
#include "apps/quillon/record_feeder.h"
#include "apps/quillon/viewer_window.h"
#include "calc/rpt_calculator.h"
#include "engine/quillon.h"
#include "platform/core/host_services.h"
#include "platform/qt/qt_host.h"
#include "platform/qt/qt_image_decoder.h"
#include "viewers/viewer_choice.h"
#include "viewers/wwwrep_viewer.h"

namespace quillon::app {

namespace {

namespace fs = std::filesystem;

// The first records of a source.
class FirstRecords : public data::DataSource {
  public:
    FirstRecords(std::unique_ptr<data::DataSource> source, std::size_t limit)
        : source_(std::move(source)), limit_(limit) {}
    const std::vector<std::string>& Columns() const override { return source_->Columns(); }
    bool Next() override { return source_->RecordNumber() < limit_ && source_->Next(); }
    std::string_view Value(std::size_t column) const override { return source_->Value(column); }
    std::size_t RecordNumber() const override { return source_->RecordNumber(); }

  private:
    std::unique_ptr<data::DataSource> source_;
    std::size_t limit_;
};

std::string Joined(const std::vector<std::string>& texts, std::string_view separator = "; ") {
    std::string out;
    for (const std::string& t : texts) (out += out.empty() ? "" : separator) += t;
    return out;
}

}  // namespace

std::vector<int> GroupColumns(const data::DataSource& source,
                              const std::vector<std::string>& groups, std::string& error) {
    std::vector<int> columns;
    for (const std::string& group : groups) {
        const int column = source.ColumnIndex(group);
        if (column < 0) {
            error = "unknown --group column " + group +
                    " (the columns are: " + Joined(source.Columns(), ", ") + ")";
            return {};
        }
        columns.push_back(column);
    }
    if (columns.size() > rlSum10 - rlSum01 + 1) {
        error = "at most ten --group columns";
        return {};
    }
    return columns;
}

// One preview: the report with its messages and, once shown, its viewer.
struct EditPreview::Session {
    std::vector<std::string> messages;
    HeadlessHost host{[this](const HeadlessHost::Message& m) {
        messages.push_back(m.text);
        return HeadlessHost::DefaultAnswer(m.buttons);
    }};
    TQuillon report{host};
    TrptCalculator calculator;
    std::unique_ptr<QtHost> viewer_host;
    std::unique_ptr<TCustomWWWRepViewer> viewer;

    ~Session() { report.SetViewerExt(nullptr); }
};

EditPreview::EditPreview(PreviewSource source) : source_(std::move(source)) {
    std::error_code ec;
    folder_ = fs::temp_directory_path(ec) / ("quillon-edit-" + std::to_string(::getpid()));
}

EditPreview::~EditPreview() {
    session_.reset();
    std::error_code ec;
    fs::remove_all(folder_, ec);
}

PreviewReport EditPreview::Make(const std::string& template_name, const std::string& format_name,
                                const std::string& bytes) {
    session_.reset();
    PreviewReport result;
    std::error_code ec;
    fs::create_directories(folder_, ec);
    const fs::path template_path = folder_ / fs::path(template_name).filename();
    {
        std::ofstream out(template_path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
        if (!out) {
            result.message = "cannot write the text to " + template_path.string();
            return result;
        }
    }
    std::unique_ptr<data::DataSource> source;
    try {
        source = std::make_unique<FirstRecords>(
            data::Open(source_.data, data::SqliteQuery{source_.query, source_.table}),
            source_.max_records);
    } catch (const std::exception& e) {
        result.message = e.what();
        return result;
    }
    std::vector<int> group_columns = GroupColumns(*source, source_.groups, result.message);
    if (!result.message.empty()) return result;

    session_ = std::make_unique<Session>();
    Session& s = *session_;
    ReportModel model;
    std::string format = format_name;
    LoadSettings load;
    load.message = [&s](std::string_view msg, TMsgDlgType type, TMsgDlgButtons buttons) {
        return s.host.MessageDlg(msg, type, buttons);
    };
    if (!model.LoadFormat(template_path.string(), format, 1, load)) {
        result.message = "the template does not load: " + Joined(s.messages);
        return result;
    }
    s.report.SetFormatFile(template_path.string());
    s.report.SetFormatName(format_name);
    TPrintOptions options{prNumbersAlignRight, prScaled};
    // Column totals in sum lines are the engine's automatic sums: grouping turns them on.
    if (!group_columns.empty()) options.Include(prAutoSum);
    s.report.SetOptions(options);
    s.calculator.SetHost(&s.host);
    s.report.SetXCalcExt(&s.calculator);
    RecordFeeder feeder(s.report, *source, std::move(group_columns), model);
    feeder.Attach();

    result.file = folder_ / ("preview-" + template_path.filename().string());
    FdStream file(result.file.string());
    if (!file.IsOpen()) {
        result.message = "cannot write " + result.file.string();
        return result;
    }
    const bool completed = s.report.Execute(&file);
    const bool closed = file.Close();
    result.records = feeder.Records();
    result.pages = s.report.GetIntPgNumber();
    if (feeder.SourceError()) {
        result.message = *feeder.SourceError();
        return result;
    }
    if (!completed || !closed) {
        result.message =
            "the report run failed" + (s.messages.empty() ? "" : ": " + Joined(s.messages));
        return result;
    }
    result.written = true;
    result.message = std::to_string(result.records) +
                     (result.records == 1 ? " record, " : " records, ") +
                     std::to_string(result.pages) + (result.pages == 1 ? " page" : " pages") +
                     (source_.max_records > 0 && result.records >= source_.max_records
                          ? " (the first " + std::to_string(source_.max_records) + " records)"
                          : "");
    return result;
}

TCustomWWWRepViewer* EditPreview::Viewer() const {
    return session_ ? session_->viewer.get() : nullptr;
}

std::string EditPreview::Show(const std::string& template_name, const std::string& format_name,
                              const std::string& bytes) {
    PreviewReport made = Make(template_name, format_name, bytes);
    if (!made.written) return "no report: " + made.message;
    Session& s = *session_;
    RegisterQtImageDecoder();
    const ReportViewerKind kind = ViewerKindForTemplate(template_name);
    s.viewer_host = std::make_unique<QtHost>();
    s.viewer = MakeReportViewer(kind, *s.viewer_host);
    PrepareViewerWindow(s.report, *s.viewer, made.file.string(), 900, 700);
    s.viewer->SetViewerCaption("Preview of " + fs::path(template_name).filename().string() +
                               " - quillon");
    // The preview belongs to the editor: closing the editor ends the program, preview or not.
    s.viewer->Form().setAttribute(Qt::WA_QuitOnClose, false);
    if (!s.report.LoadFromFile(made.file.string())) {
        return "the report cannot be shown: " + Joined(s.messages);
    }
    s.report.Show();
    return made.message + ", shown in the viewer window";
}

}  // namespace quillon::app
