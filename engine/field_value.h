#pragma once
// How a field value is written into its slot: padding, cutting, right alignment of numbers,
// trimming, links whose markup takes no room, and the placeholder of a second-parse field.
// All widths count characters of the template's encoding, so a UTF-8 value in a UTF-8
// template is never cut inside a character.

#include <string>
#include <string_view>

#include "engine/print_options.h"
#include "platform/core/text_encoding.h"

namespace quillon {

// True when the text (already trimmed) is a whole decimal floating-point number: optional
// sign, digits with an optional fraction after a "." (or a fraction alone), optional
// exponent.
bool IsDecimalNumber(std::string_view text);

// A value that begins with a link "<A ...>visible</A>": the parts of it. The markup takes
// no room in the slot; only the visible text and what follows the link do.
struct LinkParts {
    std::string_view open_tag;  // "<A ...>"
    std::string_view visible;   // between the tags
    std::string_view tail;      // after "</A>"
    bool closed = false;        // a "</A>" follows the opening tag
};
// The link at the start of value, or false when value does not begin with a well-formed
// opening "<A" tag ("<A" followed by a blank or ">", up to the first ">", with no "<"
// inside). Without a closing "</A>" the rest of the value is the visible text.
bool SplitLeadingLink(std::string_view value, LinkParts& parts);

// Appends value, formatted for a slot of `width` characters, to out.
void AppendSlotText(std::string& out, std::string_view value, int width, TPrintOptions options,
                    text::TextEncoding enc);

// Appends the placeholder of second-parse field `name` to out: the name markup followed by
// a fresh fill run ("?" and, with decimals, "^") as wide as the slot. RTF templates carry
// the name as "{\<rtf_tag> NAME}", the others as "<" + inverted question mark + NAME + ">",
// the inverted question mark written in the template's encoding.
void AppendSecondParsePlaceholder(std::string& out, std::string_view name, int width, int decimals,
                                  bool rtf, std::string_view rtf_tag, text::TextEncoding enc);

// The inverted question mark of the name markup in the template's encoding.
std::string_view InvertedQuestionMark(text::TextEncoding enc);

}  // namespace quillon
