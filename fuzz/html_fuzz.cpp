// Feeds arbitrary bytes to the HTML tokenizer and parser: the tokenizer in text-area mode,
// and whole and through a stream read in small chunks (which must give the same symbols),
// the parser as HTML and as plain text, and the dump of what was built, then its layout at
// two widths, a paint and the layout dump. Nothing may crash, hang or leak; EParseError is
// the only error parsing may raise (layout may raise EProcessError for a table too wide),
// and it must leave the document empty.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "html/dump/layout_dump.h"
#include "html/dump/section_dump.h"
#include "html/layout/process_error.h"
#include "html/layout/section_list.h"
#include "html/parse/html_tokenizer.h"
#include "html/parse/parse_error.h"
#include "html/tree/html_parser.h"
#include "platform/core/test_canvas.h"

namespace {

// The symbols and token texts of `tok`, one after another.
std::u32string Symbols(quillon::HtmlTokenizer& tok, bool text_area) {
    std::u32string all;
    tok.NextChar();
    for (;;) {
        if (text_area) {
            tok.NextTextAreaSymbol();
        } else {
            tok.NextSymbol();
        }
        all.push_back(static_cast<char32_t>(tok.Sy()) + 0x110000);
        all += tok.LCToken();
        if (tok.Sy() == quillon::Symb::EofSy) break;
    }
    return all;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    try {
        quillon::HtmlTokenizer tok(quillon::MakeBufferSource(input));
        tok.SetPreformatted(true);
        Symbols(tok, true);
    } catch (const quillon::EParseError&) {
    }
    // Read whole and read through a stream three bytes at a time, the same symbols come out
    // (decoding, character references and SCRIPT, STYLE and TEMPLATE across chunk ends).
    {
        std::u32string whole, chunked, whole_style, chunked_style;
        bool whole_failed = false, chunked_failed = false;
        try {
            quillon::HtmlTokenizer tok(quillon::MakeBufferSource(input));
            whole = Symbols(tok, false);
            whole_style = tok.StyleSheet();
        } catch (const quillon::EParseError&) {
            whole_failed = true;
        }
        try {
            std::istringstream in{std::string(input)};
            quillon::HtmlTokenizer tok(quillon::MakeStreamSource(in, 3), 3);
            chunked = Symbols(tok, false);
            chunked_style = tok.StyleSheet();
        } catch (const quillon::EParseError&) {
            chunked_failed = true;
        }
        if (whole_failed != chunked_failed || whole != chunked || whole_style != chunked_style) {
            std::abort();
        }
    }
    {
        quillon::TSectionList doc;
        quillon::TNameList names;
        try {
            quillon::HtmlParseBuffer(doc, names, input);
            (void)quillon::DumpDocument(doc);
            quillon::TestCanvas canvas(32, 32);
            for (const int width : {0, 300}) {
                int max_width = 0, cursor = 0;
                int height = 0;
                try {
                    height = doc.DoLogic(canvas, 0, width, max_width, cursor);
                } catch (const quillon::EProcessError&) {
                    break;  // a table too wide to lay out; the same again at every width
                }
                doc.SelStart = cursor / 3;
                doc.SelEnd = cursor / 2;
                doc.Draw(canvas, quillon::Rect{0, 0, 32, 32}, width, 0, 0);
                (void)doc.CopyToClipboard();
                (void)quillon::DumpLayout(doc, width, height);
            }
        } catch (const quillon::EParseError&) {
            if (!doc.Empty() || !names.empty() || !doc.Forms().empty()) std::abort();
        }
    }
    {
        std::vector<std::string> lines;
        std::size_t start = 0;
        for (std::size_t i = 0; i <= input.size(); ++i) {
            if (i == input.size() || input[i] == '\n') {
                lines.emplace_back(input.substr(start, i - start));
                start = i + 1;
            }
        }
        quillon::TSectionList doc;
        quillon::TNameList names;
        quillon::HtmlParseTextStrings(doc, names, lines);
        (void)quillon::DumpSections(doc);
    }
    return 0;
}
