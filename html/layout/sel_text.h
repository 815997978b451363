#pragma once
// Sinks for the selected text of a document: one that counts, one that collects up to a
// limit, the clipboard buffer, and one that passes the content of an inline block on to
// another. Sections hand their selected text to a sink; the placeholder characters of
// images, form controls and inline blocks are never taken.

#include <cstddef>
#include <string>
#include <string_view>

namespace quillon {

class SelTextCount {
  public:
    // The selection as cursor indices [sel_start, sel_end).
    SelTextCount(int sel_start, int sel_end) : SelStart(sel_start), SelEnd(sel_end) {}
    virtual ~SelTextCount() = default;

    const int SelStart;
    const int SelEnd;

    // Whether cursor index i lies in the selection.
    bool InSelection(int i) const { return SelStart <= i && i < SelEnd; }
    // Appends text (placeholders 2 and 4 are skipped).
    void AddText(std::u32string_view text);
    // Appends a line end (CR LF).
    void AddLineEnd() { AddText(U"\r\n"); }
    // Characters taken so far.
    std::size_t Length() const { return length_; }

  protected:
    virtual void Put(std::u32string_view text);

  private:
    friend class SelTextInner;
    std::size_t length_ = 0;
};

// Hands the text of another numbering of cursor indices to `outer`: the content of an
// inline block, numbered from its placeholder's index apart from the text around it.
class SelTextInner : public SelTextCount {
  public:
    SelTextInner(SelTextCount& outer, int sel_start, int sel_end)
        : SelTextCount(sel_start, sel_end), outer_(outer) {}

  protected:
    void Put(std::u32string_view text) override { outer_.Put(text); }

  private:
    SelTextCount& outer_;
};

// Collects the text, at most `limit` characters.
class SelTextBuf : public SelTextCount {
  public:
    SelTextBuf(int sel_start, int sel_end, std::size_t limit);
    const std::u32string& Text() const { return text_; }

  protected:
    void Put(std::u32string_view text) override;

  private:
    std::size_t limit_;
    std::u32string text_;
};

// Collects the whole selection for the clipboard (no limit).
class ClipBuffer : public SelTextBuf {
  public:
    ClipBuffer(int sel_start, int sel_end);
};

}  // namespace quillon
