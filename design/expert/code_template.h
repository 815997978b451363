#pragma once
// The code template of a loaded format: which handlers feed which levels and, for each,
// a block that sets every field the level is the first to use. Blocks go just after the
// handler's opening line, so blocks of later levels end up first in a shared handler.

#include <string>
#include <string_view>
#include <vector>

#include "design/expert/design_host.h"
#include "engine/report_model.h"

namespace quillon::design {

struct TemplateBlock {
    int level = 0;                   // 0..15; -1 for the second-parse block
    std::vector<std::string> names;  // the fields first used by this level, sorted
    // Fields of the level that the report fills itself (DATE, PAGENO, ... and calculated
    // fields): named in a comment, never set, so that the code does not blank them.
    std::vector<std::string> filled = {};
};

// True for the names the report fills on every line: DATE, DATETIME, TIME, PAGENO,
// LINENO and TAB (any case).
bool IsBuiltInField(std::string_view name);

struct TemplateHandler {
    std::string suffix;  // the handler is the component's name + suffix ("GetDetailLine")
    std::string event;   // "OnGetDetailLine", ...
    HandlerKind kind = HandlerKind::Line;
    std::vector<TemplateBlock> blocks;  // in insertion order (level order)
};

struct CodeTemplate {
    std::vector<TemplateHandler>
        handlers;  // head, new page, detail head, detail, sums, second parse
};

// Reads the active format of model: every named slot of a level marks the level used;
// each name is tagged with the first level that uses it ("&" names with the second parse).
CodeTemplate BuildCodeTemplate(ReportModel& model);

// The lines of one block: an opening with the level's condition (levels qualified with
// quillon::, so that the code compiles outside the namespace), a comment naming the fields
// the report fills, one line per field, "}".
std::vector<std::string> BlockLines(const TemplateBlock& block);

// Puts every block into its handler's body in source; handlers missing from source get
// no code.
void InsertCodeTemplate(std::vector<std::string>& source, std::string_view component,
                        const CodeTemplate& code);

// The C++ definition of an empty handler of class_name, as a design host creates it.
std::vector<std::string> HandlerSkeleton(std::string_view class_name, std::string_view handler,
                                         HandlerKind kind);

// A whole text for a user without a design host: the assignments of the events as a
// comment, then every handler with its code, as members of class_name.
std::string CodeTemplateText(std::string_view component, std::string_view class_name,
                             const CodeTemplate& code);

// Creates and assigns the handlers through host and inserts their code into its unit
// source. False when the host has no source.
bool ApplyCodeTemplate(DesignHost& host, std::string_view component, const CodeTemplate& code);

}  // namespace quillon::design
