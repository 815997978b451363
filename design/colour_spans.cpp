#include "design/colour_spans.h"

namespace quillon::design {

namespace {

constexpr auto npos = std::u16string_view::npos;

}  // namespace

std::vector<Span> LoadSpans(std::u16string_view line, char16_t open, char16_t close) {
    std::vector<Span> spans;
    std::size_t i = line.find(open);
    std::size_t j = line.find(close);
    while (i != npos && j != npos && j > i) {
        spans.push_back({i, j});
        const std::size_t next_i = line.find(open, j + 1);
        const std::size_t next_j = line.find(close, j + 1);
        if (next_i == npos || next_j == npos || next_j <= next_i) break;
        i = next_i;
        j = next_j;
    }
    return spans;
}

std::vector<MapValue> TypingColourMap(std::u16string_view line, char16_t open, char16_t close) {
    std::vector<MapValue> map(line.size(), MapValue::Normal);
    std::size_t i = line.find(open);
    std::size_t j = line.find(close);
    while (i != npos && j != npos && j > i) {
        for (std::size_t k = i; k <= j; ++k) map[k] = MapValue::InSpan;
        const std::size_t next_i = line.find(open, j + 1);
        const std::size_t next_j = line.find(close, j + 1);
        if (next_i == npos || next_j == npos || next_j <= next_i) break;
        // Of several opening characters before the closing one, the last opens the span.
        i = line.substr(0, next_j).rfind(open);
        j = next_j;
    }
    for (std::size_t k = 0; k < line.size(); ++k) {
        if (line[k] == u'?' || (line[k] == u'^' && k + 1 < line.size() && line[k + 1] == u'?')) {
            map[k] = MapValue::Keep;
        }
    }
    return map;
}

std::vector<MapRun> MapRuns(const std::vector<MapValue>& map) {
    std::vector<MapRun> runs;
    for (std::size_t k = 0; k < map.size(); ++k) {
        if (!runs.empty() && runs.back().value == map[k]) {
            ++runs.back().length;
        } else {
            runs.push_back({k, 1, map[k]});
        }
    }
    return runs;
}

}  // namespace quillon::design
