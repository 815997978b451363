#pragma once
// Helpers for parser tests: parse a document from text and dump what was built.

#include <string>
#include <string_view>

#include "html/dump/section_dump.h"
#include "html/layout/section_list.h"
#include "html/tree/html_parser.h"

namespace quillon::testing {

// The section dump of `html` parsed into a fresh document.
inline std::string ParseDump(std::string_view html) {
    TSectionList doc;
    TNameList names;
    HtmlParseBuffer(doc, names, html);
    return DumpSections(doc);
}

// The whole-document dump (header, sections, forms, maps).
inline std::string ParseDocDump(std::string_view html) {
    TSectionList doc;
    TNameList names;
    HtmlParseBuffer(doc, names, html);
    return DumpDocument(doc);
}

}  // namespace quillon::testing
