#pragma once
// What each character of a template line means to the loader, for colouring in the editor:
// tags, field slots, level marker lines ("@N"), format headers ("^^NAME") and, in RTF
// templates, the RTF markup around the visible text.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillon::design {

enum class TemplateColour : std::uint8_t {
    Normal,      // ordinary text
    Span,        // a tag, or a field name (the "<" .. ">" span; an RTF strike-through name)
    Slot,        // a field slot: "?" and a "^" inside a run of "?"
    Level,       // a level marker line: the loader consumes all of it
    FormatName,  // "^^" and the format name after it
    Markup,      // RTF control words, braces and groups that are not shown
};

// Marks slots, the level marker line and the format header of a line over map (one entry
// per character of line), as the loader reads them: a line holding "@" is a level marker
// line as a whole; a line holding "^^" is a format header (no slots in it); elsewhere every
// run that starts with "?" and continues over "?" and "^" is a slot. Characters for which
// visible is false (RTF markup) keep their colour; visible may be empty (all visible).
void MarkTemplateFields(std::u16string_view line, std::vector<TemplateColour>& map,
                        const std::vector<bool>& visible = {});

// The span map of a line as loading reads it (LoadSpans) or as typing does
// (TypingColourMap), in TemplateColour terms, without the field marks.
std::vector<TemplateColour> LoadSpanColours(std::u16string_view line, char16_t open,
                                            char16_t close);
std::vector<TemplateColour> TypingSpanColours(std::u16string_view line, char16_t open,
                                              char16_t close);

// The colours of a line whose text changed from old_text to new_text without being
// re-coloured: characters before and after the changed part keep their colours, new ones
// are Normal.
std::vector<TemplateColour> CarryColours(std::u16string_view old_text,
                                         const std::vector<TemplateColour>& old_map,
                                         std::u16string_view new_text);

// Where an RTF line starts: the group depth, the depth of a group that is not shown (its
// contents are markup; 0 when none) and whether the line starts right after a "{".
struct RtfLineState {
    int depth = 0;
    int hidden_from = 0;
    bool group_start = false;
    friend bool operator==(const RtfLineState&, const RtfLineState&) = default;
};
// The state as one int (for a highlighter's block state) and back; negative reads as the
// start of a document.
int EncodeRtfLineState(const RtfLineState& state);
RtfLineState DecodeRtfLineState(int value);

// The colours of one line of an RTF template: control words, control symbols, braces and
// the contents of hidden groups (font, colour and style tables, "{\*" destinations,
// pictures) are Markup; the visible text is Normal, with slots, level lines and the format
// header marked on it; the word after "\strike " is a field name (Span). state is the
// state at the line's start and becomes that at its end.
std::vector<TemplateColour> RtfLineColours(std::u16string_view line, RtfLineState& state);

// True when a template file name makes an RTF template (".RTF" anywhere, any case).
bool IsRtfTemplateName(std::string_view file_name);

}  // namespace quillon::design
