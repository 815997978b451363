#pragma once
// The starter template the report expert writes: an HTML format file with a title, a page
// heading with the print date and page number, one table column per chosen field and the
// level markers that make it load as a report. Also the page sizes and the C++ lines that
// run it and feed it from a data set.

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace quillon::design {

inline constexpr int kMinSlotWidth = 1;
inline constexpr int kMaxExpertSlotWidth = 255;

struct ExpertField {
    std::string name;     // the field name in the template markup
    std::string label;    // the column heading
    int width = 1;        // the slot width, clamped to 1..255
    bool number = false;  // a number column: right-aligned, written with decimals
    int decimals = 0;     // digits after the point of a number column
};

struct ExpertOptions {
    std::string format_name;
    std::string title = "My Report";
    bool page_number = true;
    bool date_time = true;
};

struct PageSizes {
    int pg_size = 0;
    int first_pg_size = 0;
};

// PgSize 20 + 34(n + 1), FirstPgSize 23 + 34(n + 1) for n fields.
PageSizes ExpertPageSizes(std::size_t field_count);

// Rows of a printed page for the starter template: an A4 sheet holds about this many
// table rows, the first page fewer because of the title.
struct PageRows {
    int first = 0;
    int later = 0;
};
PageRows ExpertPageRows(bool landscape);

// The page sizes (in template lines, as the report counts them) that put the given number
// of detail records on the first and on every later page of a template made of lines: the
// first page holds the report head and the page heading, every later one the previous
// page's footer, its break marker and the page heading.
PageSizes PageSizesForRows(const std::vector<std::string>& lines, PageRows rows);

// Text for an HTML line: "&", "<" and ">" become entities, and so do the characters that
// would turn the line into a level marker, a format header or a field slot ("@", "^", "?").
std::string EscapeTemplateText(std::string_view text);

// The text as a C++ string literal: in double quotes, with " and \ escaped.
std::string Literal(std::string_view text);

// Why a name cannot stand in the template (empty when it can): format names must read
// back from the header, field names must not end their markup or mark a level.
std::string CheckFormatName(std::string_view name);
std::string CheckFieldName(std::string_view name);

// The lines of the template (29 + 2n, one fewer per cleared check box), without line ends.
std::vector<std::string> ExpertFormatLines(const ExpertOptions& options,
                                           const std::vector<ExpertField>& fields);

// Writes lines with CR LF ends. An existing file is first kept as FILE.bak. Returns an
// error text, empty on success.
std::string WriteFormatFile(const std::filesystem::path& path,
                            const std::vector<std::string>& lines);

// The lines that run the finished report and show it (component name N).
std::vector<std::string> ExpertRunCode(std::string_view component);
// The body of the OnNext handler: first record at the start of the run, then the next one.
std::vector<std::string> ExpertNextBody(std::string_view component, std::string_view data_set);
// The body of the OnGetDetailLine handler: every field from the data set.
std::vector<std::string> ExpertDetailBody(std::string_view data_set,
                                          const std::vector<ExpertField>& fields);

}  // namespace quillon::design
