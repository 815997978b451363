#include "engine/expression_check.h"

#include <fstream>
#include <string_view>

#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

// Where a calculated field stands in its template file: the number (from 1) of the first
// line that names it with an expression ("<¿NAME=") and the expression as written there
// (up to ">?", else ">"); line 0 when it is not found (an RTF template, say).
struct FieldSource {
    int line = 0;
    std::string expression;
};

FieldSource FindCalculatedField(const std::string& file, std::string_view name) {
    std::ifstream in(file, std::ios::binary);
    const std::string wanted = "\xBF" + text::AsciiUpperCase(name) + "=";
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const std::size_t at = text::AsciiUpperCase(line).find(wanted);
        if (at == std::string::npos) continue;
        const std::size_t start = at + wanted.size();
        std::size_t end = line.find(">?", start);
        if (end == std::string::npos) end = line.find('>', start);
        if (end == std::string::npos) end = line.size();
        return {number, line.substr(start, end - start)};
    }
    return {};
}

}  // namespace

std::string InvalidExpressionMessage(const tRNAMEList& names, TCustomRepCalculator& calculator,
                                     CalcReportAccess* report, const std::string& template_file) {
    for (const tRNAMEList::Entry& entry : names.Entries()) {
        if (!entry.has_expression) continue;
        calculator.SetReport(report);
        calculator.SetLevel(entry.key.level);
        calculator.SetExpression(entry.expression);
        calculator.GetResult();
        if (calculator.GetErrorCode() != 1) continue;
        const FieldSource source = FindCalculatedField(template_file, entry.name);
        std::string msg = "The calculated field " + entry.name + " of " + template_file;
        if (source.line > 0) msg += ", line " + std::to_string(source.line);
        msg += ", cannot be calculated: \"" +
               (source.line > 0 ? source.expression : entry.expression) +
               "\" is not a valid expression.";
        return msg;
    }
    return {};
}

}  // namespace quillon
