#pragma once
// The report preview of quillon edit's Run: the text being edited, run as quillon run runs
// a template over the first records of a data source, shown in the viewer of its kind (HTML,
// RTF or text). The editor's file is left alone: the text and the report go to a folder of
// their own in the temporary directory, removed with the preview.

#include <cstddef>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace quillon {
class TCustomWWWRepViewer;
}

namespace quillon::data {
class DataSource;
}

namespace quillon::app {

struct PreviewSource {
    std::string data;   // .csv, .json or an SQLite database
    std::string query;  // SQLite: the SELECT statement
    std::string table;  // SQLite: the table to read whole
    std::size_t max_records = 100;
    std::vector<std::string> groups;  // group columns, outermost first (as quillon run --group)
};

// The indexes of the group columns in source; empty with error set when one is not a column
// of the source or there are more than ten.
std::vector<int> GroupColumns(const data::DataSource& source,
                              const std::vector<std::string>& groups, std::string& error);

// A report made for the preview.
struct PreviewReport {
    bool written = false;
    std::filesystem::path file;  // the report file
    std::size_t records = 0;
    int pages = 0;
    std::string message;  // why there is no report, or what the viewer shows
};

class EditPreview {
  public:
    explicit EditPreview(PreviewSource source);
    ~EditPreview();
    EditPreview(const EditPreview&) = delete;
    EditPreview& operator=(const EditPreview&) = delete;

    // Runs the template text (template_name decides its kind) over the first records and
    // writes the report; the report of the previous call is dropped (and its viewer closed).
    PreviewReport Make(const std::string& template_name, const std::string& format_name,
                       const std::string& bytes);
    // Make, then shows the report in its viewer window (not modal); the line for the Run
    // window.
    std::string Show(const std::string& template_name, const std::string& format_name,
                     const std::string& bytes);
    // The viewer window of the last Show; nullptr before, or when it had no report.
    TCustomWWWRepViewer* Viewer() const;

  private:
    struct Session;
    PreviewSource source_;
    std::filesystem::path folder_;
    std::unique_ptr<Session> session_;
};

}  // namespace quillon::app
