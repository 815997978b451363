#pragma once
// Which characters of a template line are shown in the span colour. A span runs from an
// opening character (by default "<") to the next closing character (">") inclusive.
//
// Two readings exist, as the editor has always had them: the one used when a whole text is
// loaded, and the one used when a single line is re-coloured while typing. They differ only
// for lines where two opening characters come before a closing one after the first span.

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace quillon::design {

// Characters first .. last (0-based, inclusive) of a line.
struct Span {
    std::size_t first = 0;
    std::size_t last = 0;
    friend bool operator==(const Span&, const Span&) = default;
};

// Spans of a line of a text being loaded: the first opening character up to the first
// closing character; then, in the text after that closing character, its next opening and
// closing characters, as long as both exist and the closing one comes later. A line whose
// first closing character precedes its first opening character has no span at all.
std::vector<Span> LoadSpans(std::u16string_view line, char16_t open, char16_t close);

// What re-colouring a line does with each character.
enum class MapValue : std::uint8_t {
    Normal = 0,  // the normal text colour
    InSpan = 1,  // the span colour
    Keep = 2,    // left alone: "?" and a "^" directly followed by "?" (field slot markers)
};

// The colour map of a line re-coloured while typing, one entry per character (any
// length). Spans as in LoadSpans, except that every span after the first starts at the
// last opening character before its closing character. Markers override spans.
std::vector<MapValue> TypingColourMap(std::u16string_view line, char16_t open, char16_t close);

// A maximal run of equal map values.
struct MapRun {
    std::size_t start = 0;
    std::size_t length = 0;
    MapValue value = MapValue::Normal;
    friend bool operator==(const MapRun&, const MapRun&) = default;
};
std::vector<MapRun> MapRuns(const std::vector<MapValue>& map);

}  // namespace quillon::design
