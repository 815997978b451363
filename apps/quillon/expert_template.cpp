#include "apps/quillon/expert_template.h"

#include <algorithm>
#include <exception>
#include <filesystem>
#include <memory>

#include "apps/datasource/data_source.h"
#include "design/expert/column_sample.h"

namespace quillon::app {

namespace {

constexpr int kExitTemplate = 2;
constexpr int kExitData = 3;
constexpr int kExitOutput = 4;
// Columns are judged on this many records.
constexpr std::size_t kSampleRecords = 1000;

// A shell word: as it is when it holds only safe characters, else in single quotes.
std::string ShellWord(const std::string& word) {
    const bool safe = !word.empty() && std::all_of(word.begin(), word.end(), [](char c) {
        return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
               std::string_view("-_./,:=+@%").find(c) != std::string_view::npos;
    });
    if (safe) return word;
    std::string out = "'";
    for (const char c : word) {
        if (c == '\'') {
            out += "'\\''";
        } else {
            out += c;
        }
    }
    return out + "'";
}

}  // namespace

int ReadExpertColumns(const ExpertSource& source, std::vector<design::ExpertField>& fields,
                      std::string& error) {
    std::vector<design::ColumnSample> samples;
    std::vector<std::string> columns;
    try {
        const std::unique_ptr<data::DataSource> records =
            data::Open(source.data, data::SqliteQuery{source.query, source.table});
        columns = records->Columns();
        for (const std::string& column : columns) samples.emplace_back(column);
        while (records->RecordNumber() < kSampleRecords && records->Next()) {
            for (std::size_t i = 0; i < samples.size(); ++i) samples[i].Add(records->Value(i));
        }
    } catch (const std::exception& e) {
        error = e.what();
        return kExitData;
    }
    fields.clear();
    for (std::size_t i = 0; i < columns.size(); ++i) {
        if (const std::string why = design::CheckFieldName(columns[i]); !why.empty()) {
            error = "column " + std::to_string(i + 1) + " of " + source.data + ": " + why;
            return kExitTemplate;
        }
        const design::ColumnSample& s = samples[i];
        fields.push_back({columns[i], design::HeadingFromName(columns[i]),
                          std::clamp(s.Width(), design::kMinSlotWidth, design::kMaxExpertSlotWidth),
                          s.Numeric(), s.Decimals()});
    }
    return 0;
}

design::PageRows ExpertRows(const ExpertTemplate& t) {
    design::PageRows rows = design::ExpertPageRows(t.landscape);
    // Without a title the first page has the room of the others.
    if (t.options.title.find_first_not_of(' ') == std::string::npos) rows.first = rows.later;
    return rows;
}

std::string ExpertRunCommand(const ExpertSource& source, const ExpertTemplate& t) {
    const design::PageSizes sizes =
        design::PageSizesForRows(design::ExpertFormatLines(t.options, t.fields), ExpertRows(t));
    std::string command = "quillon run " + ShellWord(t.file) + " --data " + ShellWord(source.data);
    if (!source.table.empty()) command += " --table " + ShellWord(source.table);
    if (!source.query.empty()) command += " --query " + ShellWord(source.query);
    command += " --page-size " + std::to_string(sizes.pg_size) + " --first-page-size " +
               std::to_string(sizes.first_pg_size);
    std::filesystem::path pdf = t.file;
    pdf.replace_extension(".pdf");
    command += " --out " + ShellWord(pdf.string());
    if (t.landscape) command += " --landscape";
    return command;
}

int WriteExpertTemplate(const ExpertSource& source, const ExpertTemplate& t, std::ostream& out,
                        std::string& error) {
    if (error = design::CheckFormatName(t.options.format_name); !error.empty()) {
        return kExitTemplate;
    }
    for (const design::ExpertField& f : t.fields) {
        if (error = design::CheckFieldName(f.name); !error.empty()) return kExitTemplate;
    }
    error = design::WriteFormatFile(t.file, design::ExpertFormatLines(t.options, t.fields));
    if (!error.empty()) return kExitOutput;
    const design::PageRows rows = ExpertRows(t);
    out << "Template " << t.file << " (format " << t.options.format_name << ", " << t.fields.size()
        << (t.fields.size() == 1 ? " field" : " fields") << ", "
        << (t.landscape ? "landscape" : "portrait") << "): " << rows.first
        << " rows on the first page, " << rows.later << " on the others. Run it with\n"
        << ExpertRunCommand(source, t) << '\n';
    return 0;
}

}  // namespace quillon::app
