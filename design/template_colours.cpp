#include "design/template_colours.h"

#include <algorithm>
#include <array>
#include <string>

#include "design/colour_spans.h"
#include "platform/core/text_encoding.h"

namespace quillon::design {

namespace {

constexpr auto npos = std::u16string_view::npos;

bool IsAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

bool IsDigit(char16_t c) {
    return c >= u'0' && c <= u'9';
}

// A character of a format name after "^^": a blank, a digit or anything above "?".
bool IsFormatNameChar(char16_t c) {
    return c == u' ' || IsDigit(c) || c > u'?';
}

// Destinations whose contents an RTF reader does not show.
bool IsHiddenDestination(std::u16string_view word) {
    static constexpr std::array<std::u16string_view, 16> kHidden = {
        u"fonttbl",   u"colortbl",     u"stylesheet",        u"info",
        u"pict",      u"listtable",    u"listoverridetable", u"rsidtbl",
        u"generator", u"xmlnstbl",     u"themedata",         u"colorschememapping",
        u"fldinst",   u"latentstyles", u"datastore",         u"object"};
    return std::find(kHidden.begin(), kHidden.end(), word) != kHidden.end();
}

}  // namespace

void MarkTemplateFields(std::u16string_view line, std::vector<TemplateColour>& map,
                        const std::vector<bool>& visible) {
    const auto shown = [&visible](std::size_t k) { return visible.empty() || visible[k]; };
    const auto paint = [&](std::size_t k, TemplateColour colour) {
        if (shown(k)) map[k] = colour;
    };
    // The loader decides on the raw line; only the visible characters change colour.
    if (line.find(u'@') != npos) {
        for (std::size_t k = 0; k < line.size(); ++k) paint(k, TemplateColour::Level);
        return;
    }
    if (const std::size_t header = line.find(u"^^"); header != npos) {
        std::size_t end = header + 2;
        while (end < line.size() && shown(end) && IsFormatNameChar(line[end])) ++end;
        while (end > header + 2 && line[end - 1] == u' ') --end;
        for (std::size_t k = header; k < end; ++k) paint(k, TemplateColour::FormatName);
        return;
    }
    for (std::size_t k = 0; k < line.size();) {
        if (line[k] != u'?' || !shown(k)) {
            ++k;
            continue;
        }
        while (k < line.size() && (line[k] == u'?' || line[k] == u'^')) {
            paint(k, TemplateColour::Slot);
            ++k;
        }
    }
}

std::vector<TemplateColour> LoadSpanColours(std::u16string_view line, char16_t open,
                                            char16_t close) {
    std::vector<TemplateColour> map(line.size(), TemplateColour::Normal);
    for (const Span& span : LoadSpans(line, open, close)) {
        std::fill(map.begin() + static_cast<std::ptrdiff_t>(span.first),
                  map.begin() + static_cast<std::ptrdiff_t>(span.last + 1), TemplateColour::Span);
    }
    return map;
}

std::vector<TemplateColour> TypingSpanColours(std::u16string_view line, char16_t open,
                                              char16_t close) {
    std::vector<TemplateColour> map;
    map.reserve(line.size());
    for (const MapValue value : TypingColourMap(line, open, close)) {
        map.push_back(value == MapValue::InSpan ? TemplateColour::Span : TemplateColour::Normal);
    }
    return map;
}

std::vector<TemplateColour> CarryColours(std::u16string_view old_text,
                                         const std::vector<TemplateColour>& old_map,
                                         std::u16string_view new_text) {
    const std::size_t shorter = std::min(old_text.size(), new_text.size());
    std::size_t prefix = 0;
    while (prefix < shorter && old_text[prefix] == new_text[prefix]) ++prefix;
    std::size_t suffix = 0;
    while (suffix < shorter - prefix &&
           old_text[old_text.size() - 1 - suffix] == new_text[new_text.size() - 1 - suffix]) {
        ++suffix;
    }
    const auto old_at = [&old_map](std::size_t k) {
        return k < old_map.size() ? old_map[k] : TemplateColour::Normal;
    };
    std::vector<TemplateColour> map(new_text.size(), TemplateColour::Normal);
    for (std::size_t k = 0; k < prefix; ++k) map[k] = old_at(k);
    for (std::size_t k = 0; k < suffix; ++k) {
        map[new_text.size() - 1 - k] = old_at(old_text.size() - 1 - k);
    }
    return map;
}

int EncodeRtfLineState(const RtfLineState& state) {
    const int depth = std::clamp(state.depth, 0, 0x7FFF);
    const int hidden = std::clamp(state.hidden_from, 0, 0x7FFF);
    return depth | (hidden << 15) | (state.group_start ? 1 << 30 : 0);
}

RtfLineState DecodeRtfLineState(int value) {
    if (value < 0) return {};
    return {value & 0x7FFF, (value >> 15) & 0x7FFF, (value >> 30) != 0};
}

std::vector<TemplateColour> RtfLineColours(std::u16string_view line, RtfLineState& state) {
    std::vector<TemplateColour> map(line.size(), TemplateColour::Normal);
    std::vector<bool> visible(line.size(), false);
    const auto markup = [&map](std::size_t from, std::size_t to) {
        std::fill(map.begin() + static_cast<std::ptrdiff_t>(from),
                  map.begin() + static_cast<std::ptrdiff_t>(to), TemplateColour::Markup);
    };
    enum class Strike { None, Waiting, InName } strike = Strike::None;
    std::size_t i = 0;
    while (i < line.size()) {
        const char16_t c = line[i];
        if (c == u'{') {
            markup(i, i + 1);
            ++state.depth;
            state.group_start = true;
            strike = Strike::None;
            ++i;
            continue;
        }
        if (c == u'}') {
            markup(i, i + 1);
            if (state.hidden_from > 0 && state.depth <= state.hidden_from) state.hidden_from = 0;
            state.depth = std::max(0, state.depth - 1);
            state.group_start = false;
            strike = Strike::None;
            ++i;
            continue;
        }
        if (c == u'\\') {
            const std::size_t start = i++;
            if (i < line.size() && IsAsciiLetter(line[i])) {
                const std::size_t word_start = i;
                while (i < line.size() && IsAsciiLetter(line[i])) ++i;
                std::u16string word(line.substr(word_start, i - word_start));
                for (char16_t& w : word) {
                    if (w >= u'A' && w <= u'Z') w = static_cast<char16_t>(w - u'A' + u'a');
                }
                const std::size_t param_start = i;
                if (i < line.size() && line[i] == u'-') ++i;
                while (i < line.size() && IsDigit(line[i])) ++i;
                const bool has_param = i > param_start;
                if (i < line.size() && line[i] == u' ') ++i;  // the delimiting blank
                if (state.group_start && state.hidden_from == 0 && IsHiddenDestination(word)) {
                    state.hidden_from = state.depth;
                }
                if (word == u"u" && has_param && i < line.size() && line[i] != u'\\' &&
                    line[i] != u'{' && line[i] != u'}') {
                    ++i;  // the stand-in character of a \uN escape is not shown
                }
                strike = word == u"strike" && !has_param ? Strike::Waiting
                         : strike == Strike::Waiting     ? Strike::Waiting
                                                         : Strike::None;
            } else if (i < line.size()) {
                if (line[i] == u'*' && state.group_start && state.hidden_from == 0) {
                    state.hidden_from = state.depth;
                }
                i += line[i] == u'\'' ? 3 : 1;
                i = std::min(i, line.size());
                if (strike == Strike::InName) strike = Strike::None;
            }
            markup(start, i);
            if (line.substr(start, 2) != u"\\*") state.group_start = false;
            continue;
        }
        state.group_start = false;
        if (state.hidden_from > 0 && state.depth >= state.hidden_from) {
            markup(i, i + 1);
            ++i;
            continue;
        }
        visible[i] = true;
        if (c == u' ') {
            if (strike == Strike::InName) strike = Strike::None;
        } else if (strike != Strike::None) {
            strike = Strike::InName;
            map[i] = TemplateColour::Span;
        }
        ++i;
    }
    MarkTemplateFields(line, map, visible);
    return map;
}

bool IsRtfTemplateName(std::string_view file_name) {
    return text::AsciiUpperCase(file_name).find(".RTF") != std::string::npos;
}

}  // namespace quillon::design
