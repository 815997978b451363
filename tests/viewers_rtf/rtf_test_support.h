#pragma once
// Helpers of the RTF tests: paragraphs written as short strings of their runs, so that a
// test compares text and formatting in one line, and fixture files read whole.
//
// A run is written as its text, preceded by "<tags>" when its format is not the plain
// one: b, i, u, s (strike), ^ (superscript), _ (subscript), the size ("18pt") when it is
// not the base size, "#rrggbb" for a colour, "f=Name" for the font when asked for.
// Runs are separated by "|".

#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "viewers/rtf/rtf_document.h"

namespace quillon::rtf::testing {

struct DescribeOptions {
    double base_size = 12.0;
    bool fonts = false;
};

inline std::string Tags(const RtfCharFormat& f, const RtfDocument& doc,
                        const DescribeOptions& options) {
    std::vector<std::string> tags;
    if (f.bold) tags.push_back("b");
    if (f.italic) tags.push_back("i");
    if (f.underline) tags.push_back("u");
    if (f.strike) tags.push_back("s");
    if (f.vertical == RtfVerticalAlign::Superscript) tags.push_back("^");
    if (f.vertical == RtfVerticalAlign::Subscript) tags.push_back("_");
    if (f.font_size != options.base_size) {
        std::ostringstream size;
        size << f.font_size << "pt";
        tags.push_back(size.str());
    }
    if (f.color) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "#%02x%02x%02x", f.color->red, f.color->green,
                      f.color->blue);
        tags.push_back(hex);
    }
    if (options.fonts && f.font >= 0 && static_cast<std::size_t>(f.font) < doc.fonts.size()) {
        tags.push_back("f=" + doc.fonts[static_cast<std::size_t>(f.font)].name);
    }
    if (tags.empty()) return {};
    std::string out = "<";
    for (std::size_t i = 0; i < tags.size(); ++i) out += (i ? "," : "") + tags[i];
    return out + ">";
}

inline std::string Describe(const RtfParagraph& paragraph, const RtfDocument& doc,
                            const DescribeOptions& options = {}) {
    std::string out;
    for (std::size_t i = 0; i < paragraph.runs.size(); ++i) {
        if (i > 0) out += "|";
        out += Tags(paragraph.runs[i].format, doc, options) + paragraph.runs[i].text;
    }
    return out;
}

// Every paragraph described; a page break before a paragraph is written as "[page]".
inline std::vector<std::string> DescribeAll(const RtfDocument& doc,
                                            const DescribeOptions& options = {}) {
    std::vector<std::string> out;
    for (const RtfParagraph& p : doc.paragraphs) {
        out.push_back((p.page_break_before ? "[page]" : "") + Describe(p, doc, options));
    }
    return out;
}

inline std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline std::string Fixture(const std::string& name) {
    return ReadFile(std::string(QUILLON_TEST_DATA) + "/rtf/" + name);
}

}  // namespace quillon::rtf::testing
