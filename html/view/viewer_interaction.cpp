// The viewer model's reactions to the user: links, history, search, selection, mouse and
// keyboard, and form submission.

#include <algorithm>

#include "html/layout/form_controls.h"
#include "html/layout/inline_block.h"
#include "html/view/url_expand.h"
#include "html/view/viewer_model.h"
#include "platform/core/text_encoding.h"

namespace quillon {

namespace {

// Letters and digits extend a double-clicked word. Beyond Latin-1 every character except
// the punctuation, symbol and space blocks counts as a letter.
bool IsWordChar(char32_t c) {
    if ((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')) return true;
    if (c < 0x100) return (c >= 192 && c <= 214) || (c >= 216 && c <= 246) || c >= 248;
    if (c >= 0x2000 && c <= 0x2BFF) return false;  // punctuation, symbols, arrows, boxes
    if (c >= 0x3000 && c <= 0x303F) return false;  // CJK punctuation
    if (c >= 0xFF00 && c <= 0xFF0F) return false;  // full-width punctuation
    return c != 0xFEFF && c != 0xFFFC && c != 0xFFFD;
}

}  // namespace

// --- history ---

THistoryEntry THTMLViewerModel::CurrentEntry() const {
    return THistoryEntry{current_file_, title_, Position(), file_type_};
}

std::vector<std::string> THTMLViewerModel::History() const {
    std::vector<std::string> files;
    for (const THistoryEntry& e : history_.Entries()) files.push_back(e.File);
    return files;
}

std::vector<std::string> THTMLViewerModel::TitleHistory() const {
    std::vector<std::string> titles;
    for (const THistoryEntry& e : history_.Entries()) titles.push_back(e.Title);
    return titles;
}

void THTMLViewerModel::BumpHistory(const std::string& old_file, const std::string& old_title,
                                   std::int64_t old_pos, TFileType old_type) {
    if (history_.MaxCount() == 0 || current_file_.empty()) return;
    if (old_file == current_file_ && old_type == file_type_ && old_pos == Position()) return;
    history_.Bump(THistoryEntry{old_file, old_title, old_pos, old_type}, CurrentEntry());
    NotifyHistoryChange();
}

void THTMLViewerModel::SetHistoryIndex(int i) {
    if (i == history_.Index() || i < 0 || i >= history_.Count() || processing_) return;
    history_.UpdateCurrent(CurrentEntry());
    const THistoryEntry entry = history_.Entries()[static_cast<std::size_t>(i)];
    if (!(SameFile(entry.File, current_file_) && entry.FileType == file_type_)) {
        LoadFile(entry.File, entry.FileType);
    }
    SetPosition(entry.Pos);
    history_.SetIndex(i);
    NotifyHistoryChange();
}

void THTMLViewerModel::NotifyHistoryChange() {
    if (OnHistoryChange) OnHistoryChange(*this);
    HistoryChanged();
}

void THTMLViewerModel::SetHistoryMaxCount(int n) {
    if (n < 0) return;
    if (history_.SetMaxCount(n)) NotifyHistoryChange();
}

void THTMLViewerModel::ClearHistory() {
    if (history_.Clear()) NotifyHistoryChange();
}

// --- links ---

std::string THTMLViewerModel::HTMLExpandFilename(std::string_view name) const {
    return ExpandViewerFilename(name, ExpandContext{server_root_, base_, current_file_});
}

bool THTMLViewerModel::HotSpotClickHandled() {
    bool handled = false;
    if (OnHotSpotClick) OnHotSpotClick(*this, url_.URL, handled);
    HotSpotClicked(url_.URL, handled);
    return handled;
}

void THTMLViewerModel::URLAction() {
    if (HotSpotClickHandled()) return;
    const std::int64_t old_pos = Position();
    const std::string url = url_.URL;
    if (!url.empty() && url.front() == '#') {
        if (PositionTo(url)) BumpHistory(current_file_, title_, old_pos, file_type_);
        return;
    }
    const FileAndDest fd = SplitDestination(url);
    const std::string file = HTMLExpandFilename(fd.File);
    switch (LinkedFileKind(file)) {
        case TLinkedFileKind::Html:
            if (SameFile(file, current_file_)) {
                if (PositionTo(fd.Dest)) BumpHistory(current_file_, title_, old_pos, file_type_);
            } else {
                LoadFromFile(fd.Dest.empty() ? file : file + "#" + fd.Dest);
            }
            break;
        case TLinkedFileKind::Image:
            LoadImageFile(file);
            break;
        case TLinkedFileKind::Other:
            break;
    }
}

bool THTMLViewerModel::GetURL(int x, int y, TUrlTarget& url, TFormControlObj*& control) {
    const Point p = ToLayout(x, y);
    const auto hit = doc_->GetURL(*measure_, p.x, p.y);
    if (!hit) return false;
    url = hit->Url;
    control = hit->FormControl;
    return true;
}

// --- search and selection ---

bool THTMLViewerModel::Find(std::string_view s, bool match_case) {
    if (s.empty()) return false;
    const std::u32string what = text::DecodeText(s);
    const int at = doc_->FindString(caret_pos_, what, match_case, 0);
    if (at < 0) return false;
    doc_->SetSelection(SelRange{at, at + static_cast<int>(what.size()), nullptr});
    caret_pos_ = doc_->SelEnd;
    if (const auto p = doc_->CursorToXY(*measure_, at)) {
        if (p->y < v_pos_ || p->y > v_pos_ + bars_.PanelHeight - 20) {
            ScrollTo(p->y - bars_.PanelHeight / 2);
        }
    }
    Invalidate();
    return true;
}

std::optional<Point> THTMLViewerModel::FindPos(std::string_view s, bool match_case) {
    if (s.empty()) return std::nullopt;
    const int at = doc_->FindString(caret_pos_, text::DecodeText(s), match_case, 0);
    if (at < 0) return std::nullopt;
    return doc_->CursorToXY(*measure_, at);
}

void THTMLViewerModel::SelectAll() {
    if (no_select_ || doc_->Empty()) return;
    doc_->SetSelection(SelRange{0, doc_->Len, nullptr});
    Invalidate();
}

std::string THTMLViewerModel::CopyToClipboard() {
    return text::ToUtf8(doc_->CopyToClipboard());
}

std::string THTMLViewerModel::SelText() const {
    const int n = doc_->GetSelLength();
    return n > 0 ? text::ToUtf8(doc_->GetSelTextBuf(n + 1)) : std::string();
}

int THTMLViewerModel::SelLength() const {
    return doc_->GetSelLength();
}

void THTMLViewerModel::SetSelLength(int n) {
    if (doc_->SelStart < 0) return;
    doc_->SelEnd = doc_->SelStart + std::max(0, n);
    Invalidate();
}

std::string THTMLViewerModel::GetSelTextBuf(int size) const {
    return text::ToUtf8(doc_->GetSelTextBuf(size));
}

// --- mouse ---

void THTMLViewerModel::MouseDown(int x, int y, bool left, bool had_focus) {
    link_clicked_ = false;
    if (!left) return;
    left_button_down_ = true;
    if (!had_focus) return;  // the first click only focuses the control
    const Point p = ToLayout(x, y);
    CursorHit hit = doc_->FindCursor(*measure_, p.x, p.y);
    if (hit.Index < 0) return;
    selecting_ = true;
    if (doc_->SelEnd > doc_->SelStart) Invalidate();
    doc_->SetSelection(SelectionBetween(hit, hit));
    caret_pos_ = hit.Index;
    sel_anchor_ = std::move(hit);
}

void THTMLViewerModel::DoHilite(int x, int y) {
    if (!selecting_ || sel_anchor_.Index < 0) return;
    y = std::clamp(y, 0, height_);
    const Point p = ToLayout(x, y);
    const CursorHit hit = doc_->FindCursor(*measure_, p.x, p.y);
    if (hit.Index < 0) return;
    // The same index may stand for a character inside an inline block and one after it:
    // the selections are compared, not the indices.
    const SelRange range = SelectionBetween(sel_anchor_, hit);
    if (range != SelRange{doc_->SelStart, doc_->SelEnd, doc_->SelBlock} && !no_select_) {
        doc_->SetSelection(range);
        Invalidate();
    }
    caret_pos_ = hit.Index;
}

bool THTMLViewerModel::MouseMove(int x, int y, bool left_held) {
    TUrlTarget link;
    TFormControlObj* control = nullptr;
    const bool over_link = GetURL(x, y, link, control) && !link.Empty();
    if (!over_link) link.Clear();
    if (link.URL != url_.URL) {
        url_ = link;
        if (OnHotSpotCovered) OnHotSpotCovered(*this, url_.URL);
        HotSpotCovered(url_.URL);
    }
    if (left_held && selecting_) {
        if ((y < 1 || y > bars_.PanelHeight) && !auto_scrolling_) {
            auto_scrolling_ = true;
            StartAutoScroll();
        }
        if (!no_select_) DoHilite(x, y);
    }
    return over_link;
}

bool THTMLViewerModel::AutoScrollStep(int x, int y) {
    if (!auto_scrolling_ || !selecting_ || (y >= 1 && y <= bars_.PanelHeight)) {
        auto_scrolling_ = false;
        return false;
    }
    int steps = 0;
    if (y < 1) {
        steps = y < 1 - 15 ? -8 : -1;
    } else {
        steps = y > bars_.PanelHeight + 15 ? 8 : 1;
    }
    ScrollTo(v_pos_ + steps * kVerticalSmallStep);
    DoHilite(x, y);
    Invalidate();
    return true;
}

void THTMLViewerModel::MouseUp(int x, int y, bool left) {
    if (!left) return;
    DoHilite(x, y);
    selecting_ = false;
    if (auto_scrolling_) {
        auto_scrolling_ = false;
        StopAutoScroll();
    }
    const bool was_down = left_button_down_;
    left_button_down_ = false;
    if (!was_down || doc_->SelEnd > doc_->SelStart) return;
    TUrlTarget link;
    TFormControlObj* control = nullptr;
    if (!GetURL(x, y, link, control)) return;
    if (auto* image_button = dynamic_cast<TImageFormControlObj*>(control)) {
        // The hit test recorded where in the image the click fell; submit with it.
        image_button->OwnerForm().SubmitTheForm("");
        return;
    }
    if (link.Empty()) return;
    url_ = link;
    link_clicked_ = true;
    URLAction();
}

void THTMLViewerModel::DoubleClick(int x, int y) {
    if (no_select_ || processing_ || link_clicked_) return;
    const Point p = ToLayout(x, y);
    const CursorHit hit = doc_->FindCursor(*measure_, p.x, p.y);
    if (hit.Index < 0) return;
    caret_pos_ = hit.Index;
    if (p.y < hit.Y || p.y >= hit.Y + hit.Height) return;
    // Cursor indices run on from one block to the next without a separator, so a word
    // also ends where the line does. In an inline block the word is one of its content.
    TCell& content = hit.Blocks.empty() ? *doc_ : hit.Blocks.back().Block->Body;
    const auto word_at = [&](int i) {
        const auto c = content.GetChAtPos(i);
        if (!c || !IsWordChar(*c)) return false;
        const auto at = content.CursorToXY(*measure_, i);
        return at && at->y == hit.Y;
    };
    if (!word_at(caret_pos_)) return;
    int start = caret_pos_;
    while (start > 0 && word_at(start - 1)) --start;
    int end = caret_pos_;
    while (word_at(end)) ++end;
    const TInlineBlock* block = hit.Blocks.empty() ? nullptr : hit.Blocks.back().Block;
    doc_->SetSelection(SelRange{start, end, block});
    Invalidate();
}

// --- keyboard ---

bool THTMLViewerModel::KeyDown(TViewerKey key) {
    int v = v_pos_;
    switch (key) {
        case TViewerKey::PageUp:
            v -= bars_.VLargeStep;
            break;
        case TViewerKey::PageDown:
            v += bars_.VLargeStep;
            break;
        case TViewerKey::Home:
            v = 0;
            break;
        case TViewerKey::End:
            v = doc_height_;
            break;
        case TViewerKey::Up:
            v -= kVerticalSmallStep;
            break;
        case TViewerKey::Down:
            v += kVerticalSmallStep;
            break;
        case TViewerKey::Left:
            SetHScrollPos(h_pos_ - kHorizontalSmallStep);
            return true;
        case TViewerKey::Right:
            SetHScrollPos(h_pos_ + kHorizontalSmallStep);
            return true;
    }
    ScrollTo(v);
    return true;
}

// --- painting helpers ---

std::optional<Rect> THTMLViewerModel::PositionedBackgroundRect() {
    const int open = doc_->FindString(0, U"{", true, 0);
    const int close = doc_->FindString(0, U"}", true, 0);
    if (open < 0 || close < 0) return std::nullopt;
    const auto a = doc_->CursorToXY(*measure_, open);
    const auto b = doc_->CursorToXY(*measure_, close);
    if (!a || !b) return std::nullopt;
    const int dx = margin_width_ - h_pos_;
    const Rect r{a->x + dx, a->y - v_pos_, b->x + dx, b->y - v_pos_};
    if (r.left < r.right && r.top < r.bottom) return r;
    return std::nullopt;
}

// --- forms ---

void THTMLViewerModel::SubmitForm(const std::string& action,
                                  const std::vector<std::string>& results,
                                  const std::string& method) {
    pending_submit_ = PendingSubmit{action, method, results};
    PostFormSubmit();
}

void THTMLViewerModel::DeliverFormSubmit() {
    if (!pending_submit_) return;
    const PendingSubmit submit = std::move(*pending_submit_);
    pending_submit_.reset();
    if (OnFormSubmit) OnFormSubmit(*this, submit.Action, submit.Method, submit.Results);
    FormSubmitted(submit.Action, submit.Method, submit.Results);
}

}  // namespace quillon
