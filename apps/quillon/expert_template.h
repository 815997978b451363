#pragma once
// The template quillon expert writes from a data source: its columns read into expert
// fields (headings, number columns and their decimals, slot widths), the template written,
// and the quillon run command that runs it with page sizes for a printed page.

#include <ostream>
#include <string>
#include <vector>

#include "design/expert/expert_format.h"

namespace quillon::app {

// Where the records come from, as quillon run takes it.
struct ExpertSource {
    std::string data;
    std::string table;
    std::string query;
};

// What the expert writes: the file, the template's options and the chosen fields.
struct ExpertTemplate {
    std::string file;
    design::ExpertOptions options;
    bool landscape = false;
    std::vector<design::ExpertField> fields;
};

// Reads the columns of the source and the first records: one field per column with its
// heading, width and, for number columns, decimals. Returns 0, or an exit code of quillon
// expert with the error (3: the source cannot be read; 2: a column name cannot stand in
// a template).
int ReadExpertColumns(const ExpertSource& source, std::vector<design::ExpertField>& fields,
                      std::string& error);

// The quillon run command for the template, one line, its arguments quoted for a shell
// where they need it.
std::string ExpertRunCommand(const ExpertSource& source, const ExpertTemplate& t);

// The rows the run command puts on the first and on every later page.
design::PageRows ExpertRows(const ExpertTemplate& t);

// Writes the template and prints what was written and the run command to out. Returns 0,
// or an exit code of quillon expert with the error (2: a name cannot stand in a template;
// 4: the template cannot be written).
int WriteExpertTemplate(const ExpertSource& source, const ExpertTemplate& t, std::ostream& out,
                        std::string& error);

}  // namespace quillon::app
