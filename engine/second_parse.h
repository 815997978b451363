#pragma once
// The second parse: after a run, fields whose values are only known at the end (a page
// total, say) are filled into the finished output. During the run such a field was
// written as its placeholder, the name markup followed by a fill run of "?" and "^"
// (AppendSecondParsePlaceholder). The pass finds every placeholder, turns the "&" of its
// markup into "\" (the markup stays: HTML readers skip it as a tag, RTF readers as an
// unknown control word, and it is not found again) and replaces the fill run with the
// field's value, padded with blanks and cut to the run's length in characters.
//
// The output is read once, chunk by chunk, and changed in place; it is never held in
// memory whole. Placeholders, names and fill runs may straddle chunk boundaries: the
// result is that of one substitution over the whole output, whatever the chunk size.
// When a value's bytes are not as many as the bytes of its run (a UTF-8 value), the rest
// of the output from there is rewritten through a temporary file and the output's length
// changes accordingly.
//
// Rules, in output order, for each placeholder marker found (after the end of the fill run
// of the previous one):
// - the marker's "&" becomes "\";
// - the fill run is the first run of "?"/"^" after the marker; without one, the pass ends;
// - the name is "&" plus the text between the marker and the first name terminator (">",
//   "}" in RTF) found from the second character after the marker on; it must end before
//   the fill run and be at most kMaxSecondParseName bytes long, else the run is left as
//   it is.

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>

#include "platform/core/stream.h"
#include "platform/core/text_encoding.h"

namespace quillon {

inline constexpr std::size_t kSecondParseChunk = 4096;
inline constexpr std::size_t kMaxSecondParseName = 255;

struct SecondParseMarker {
    std::string marker;   // "<" + inverted question mark + "&", or "{\" + tag + " &"
    char name_end = '>';  // ">" or, in RTF, "}"
    text::TextEncoding encoding = text::TextEncoding::Cp1252;  // of the values' widths
};

SecondParseMarker MakeSecondParseMarker(bool rtf, std::string_view rtf_tag, text::TextEncoding enc);

// The value of a second-parse field, by its name ("&TOTAL").
using SecondParseLookup = std::function<std::string(std::string_view name)>;

// Runs the pass over the whole stream (from its start). False when reading, writing or
// truncating failed; what was written until then stays.
bool RunSecondParse(TStream& output, const SecondParseMarker& marker,
                    const SecondParseLookup& lookup, std::size_t chunk_size = kSecondParseChunk);

}  // namespace quillon
