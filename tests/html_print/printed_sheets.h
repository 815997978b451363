#pragma once
// What a recorded print shows on each sheet: the words of its text calls with their boxes
// (fixed metrics: 8 px a character, 16 px a line) and the image placeholders, each cut to
// the clip in force when it was drawn. What the clip hides entirely is not on the sheet.

#include <algorithm>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/canvas.h"
#include "tests/html_print/print_test_support.h"

namespace quillon::testing {

constexpr int kAdvance = 8;
constexpr int kLineHeight = 16;

struct PrintedWord {
    std::string text;
    Rect box;      // the whole word, as drawn
    bool clipped;  // part of it is hidden by the clip
};

// One sheet's part of an image placeholder: its whole box as drawn and the part shown.
struct PrintedImage {
    Rect box;
    Rect shown;
};

struct PrintedSheet {
    std::vector<PrintedWord> words;
    std::vector<PrintedImage> images;
    bool Empty() const { return words.empty() && images.empty(); }
};

namespace detail {

// "l,t,r,b" (or "x,y" with two numbers) at the start of text.
inline std::vector<int> Numbers(std::string_view text) {
    std::vector<int> out;
    std::string part;
    for (const char c : text) {
        if (c == ' ') break;
        if (c == ',') {
            out.push_back(std::atoi(part.c_str()));
            part.clear();
        } else {
            part.push_back(c);
        }
    }
    out.push_back(std::atoi(part.c_str()));
    return out;
}

inline Rect RectOf(std::string_view text) {
    const std::vector<int> n = Numbers(text);
    return n.size() == 4 ? Rect{n[0], n[1], n[2], n[3]} : Rect{};
}

}  // namespace detail

// Reads one recorded page of the size of `whole`. An image placeholder is a sunken frame
// whose dark left and top edges are one-pixel fills of colour #808080 starting at the same
// corner.
inline PrintedSheet ReadSheet(const TestCanvas& canvas, const Rect& whole) {
    PrintedSheet sheet;
    Rect clip = whole;
    std::vector<std::pair<Rect, Rect>> left_edges, top_edges;  // (edge, clip)
    for (const std::string& line : canvas.Log()) {
        const std::string_view l = line;
        if (l.rfind("clip ", 0) == 0) {
            clip = detail::RectOf(l.substr(5)).Intersect(whole);
        } else if (l == "noclip") {
            clip = whole;
        } else if (l.rfind("text ", 0) == 0) {
            std::string_view rest = l.substr(5);
            const std::vector<int> at = detail::Numbers(rest);
            rest.remove_prefix(rest.find(' ') + 1);
            if (rest.rfind("on #", 0) == 0) rest.remove_prefix(rest.find(' ') + 1);
            // One word per run of non-blanks, at its character offset.
            std::size_t i = 0;
            while (i < rest.size()) {
                if (rest[i] == ' ') {
                    ++i;
                    continue;
                }
                const std::size_t end = std::min(rest.find(' ', i), rest.size());
                const int x = at.at(0) + static_cast<int>(i) * kAdvance;
                const Rect box{x, at.at(1), x + static_cast<int>(end - i) * kAdvance,
                               at.at(1) + kLineHeight};
                const Rect shown = box.Intersect(clip);
                if (!shown.IsEmpty()) {
                    sheet.words.push_back(
                        PrintedWord{std::string(rest.substr(i, end - i)), box, shown != box});
                }
                i = end;
            }
        } else if (l.rfind("fill ", 0) == 0 && l.size() > 8 &&
                   l.compare(l.size() - 8, 8, " #808080") == 0) {
            const Rect r = detail::RectOf(l.substr(5));
            if (r.Width() == 1 && r.Height() > 1) left_edges.emplace_back(r, clip);
            if (r.Height() == 1) top_edges.emplace_back(r, clip);
        }
    }
    for (const auto& [left, left_clip] : left_edges) {
        for (const auto& top : top_edges) {
            if (top.first.left != left.left || top.first.top != left.top) continue;
            const Rect box{left.left, left.top, top.first.right, left.bottom};
            const Rect shown = box.Intersect(left_clip);
            if (!shown.IsEmpty()) sheet.images.push_back(PrintedImage{box, shown});
            break;
        }
    }
    return sheet;
}

// The sheets of a print on `target` (whose pages may record without painting).
inline std::vector<PrintedSheet> ReadSheets(RecordingTarget& target) {
    const PageDevice device = target.Device();
    const Rect whole{0, 0, device.PageWidth, device.PageHeight};
    std::vector<PrintedSheet> sheets;
    for (const RecordingTarget::Page& page : target.Pages) {
        sheets.push_back(ReadSheet(*page.Canvas, whole));
    }
    return sheets;
}

}  // namespace quillon::testing
