#pragma once
// A viewer model on the fixed-metric canvas (characters 8 px wide, lines 16 px high) that
// records what it asks of its widget, and files in a scratch folder.

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include <gtest/gtest.h>

#include "html/view/viewer_model.h"
#include "platform/core/test_canvas.h"
#include "tests/common/temp_dir.h"

namespace quillon::testing {

struct CanvasHolder {
    TestCanvas canvas{1, 1};
};

class FakeViewer : private CanvasHolder, public THTMLViewerModel {
  public:
    FakeViewer() : THTMLViewerModel(canvas) { SetBounds(400, 300); }

    int invalidations = 0;
    int auto_scroll_starts = 0;
    int posted_submits = 0;
    bool defer_submit = true;

  protected:
    void Invalidate() override { ++invalidations; }
    void StartAutoScroll() override { ++auto_scroll_starts; }
    void PostFormSubmit() override {
        ++posted_submits;
        if (!defer_submit) DeliverFormSubmit();
    }
};

// Where text is shown: the panel point a few pixels into its first character (after
// scrolling it into view). Searches from the document's start.
inline Point PanelPointOf(THTMLViewerModel& v, std::string_view text) {
    v.SetCaretPos(0);
    const auto p = v.FindPos(text, true);
    EXPECT_TRUE(p.has_value()) << "no " << text;
    if (!p) return Point{-1, -1};
    v.ScrollTo(p->y - 20);
    return Point{p->x + v.MarginWidth() - v.HScrollPos() + 2, p->y - v.ScrollPos() + 4};
}

// A focused click (button down and up at one point) on text.
inline void ClickText(THTMLViewerModel& v, std::string_view text) {
    const Point at = PanelPointOf(v, text);
    v.MouseDown(at.x, at.y, true, true);
    v.MouseUp(at.x, at.y, true);
}

// A scratch folder removed at the end of the test; files may lie in subfolders.
class ScratchDir : public TempDir {
  public:
    // Writes a file (making its folders) and returns its full path.
    std::string Write(const std::string& name, const std::string& content) const {
        std::filesystem::create_directories((TempDir::Path() / name).parent_path());
        return TempDir::Write(name, content).string();
    }
    std::string Path(const std::string& name = "") const {
        return (TempDir::Path() / name).string();
    }
};

// n paragraphs "Line i", each one section.
inline std::string Paragraphs(int n) {
    std::string html;
    for (int i = 0; i < n; ++i) html += "<P>Line " + std::to_string(i) + "</P>\n";
    return html;
}

}  // namespace quillon::testing
