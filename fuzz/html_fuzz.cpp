// Feeds arbitrary bytes to the HTML tokenizer: as symbols, in text-area mode and through a
// stream read in small chunks. Nothing may crash, hang or leak; EParseError is the only
// error an input may raise.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "html/parse/html_tokenizer.h"
#include "html/parse/parse_error.h"

namespace {

void Symbols(quillon::HtmlTokenizer& tok, bool text_area) {
    tok.NextChar();
    for (;;) {
        if (text_area) {
            tok.NextTextAreaSymbol();
        } else {
            tok.NextSymbol();
        }
        if (tok.Sy() == quillon::Symb::EofSy) break;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    try {
        quillon::HtmlTokenizer tok(quillon::MakeBufferSource(input));
        Symbols(tok, false);
    } catch (const quillon::EParseError&) {
    }
    try {
        quillon::HtmlTokenizer tok(quillon::MakeBufferSource(input));
        tok.SetPreformatted(true);
        Symbols(tok, true);
    } catch (const quillon::EParseError&) {
    }
    try {
        std::istringstream in{std::string(input)};
        quillon::HtmlTokenizer tok(quillon::MakeStreamSource(in, 3), 3);
        Symbols(tok, false);
    } catch (const quillon::EParseError&) {
    }
    return 0;
}
