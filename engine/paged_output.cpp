#include "engine/paged_output.h"

#include <algorithm>

#include "engine/run_state.h"
#include "platform/core/host_services.h"
#include "platform/core/settings_file.h"
#include "platform/core/stream.h"

namespace quillon {

namespace {

constexpr std::size_t kMaxMarker = 255;

// Applies one [PAGE] line to marker when it carries key (upper-cased test, value as
// written).
void ApplyMarkerLine(std::string_view line, std::string_view upper, std::string_view key,
                     std::string& marker) {
    const std::size_t at = upper.find(key);
    if (at == std::string_view::npos) return;
    marker = std::string(line.substr(at + key.size(), kMaxMarker));
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

}  // namespace

PageBreakMarkers ReadPageBreakMarkers(const SettingsFile& settings) {
    PageBreakMarkers markers;
    for (const std::string& line : settings.RawLines("PAGE")) {
        const std::string upper = text::AsciiUpperCase(line);
        ApplyMarkerLine(line, upper, "PAGEBREAK=", markers.html);
        ApplyMarkerLine(line, upper, "PAGEBREAKRTF=", markers.rtf);
        ApplyMarkerLine(line, upper, "PAGEBREAKTXT=", markers.txt);
    }
    return markers;
}

PagedOutput::PagedOutput(RunState& run, PagedOutputClient& client) : run_(run), client_(client) {}

void PagedOutput::SetBorder(int from1, int to1, int from2, int to2, int from3, int to3) {
    border_ = {ColumnRange{from1, to1}, ColumnRange{from2, to2}, ColumnRange{from3, to3}};
    border_set_ = true;
}

PagedOutput::Target* PagedOutput::TargetOf(int level) {
    if (level < kFirstTarget || level > kLastTarget) return nullptr;
    return &targets_[static_cast<std::size_t>(level - kFirstTarget)];
}

const PagedOutput::Target* PagedOutput::TargetOf(int level) const {
    if (level < kFirstTarget || level > kLastTarget) return nullptr;
    return &targets_[static_cast<std::size_t>(level - kFirstTarget)];
}

void PagedOutput::BeginRun(bool rtf, bool txt, text::TextEncoding encoding) {
    EndRun();
    rtf_ = rtf;
    marker_ = rtf ? markers_.rtf : txt ? markers_.txt : markers_.html;
    encoding_ = encoding;
    for (Target& target : targets_) {
        target.lines_on_page = 0;
        target.head_lines = 0;
        target.pending = false;
    }
}

bool PagedOutput::CreateLevelFile(int level, const std::string& path) {
    Target* target = TargetOf(level);
    if (target == nullptr || !target->file.Create(path)) return false;
    target->has_list = true;
    return true;
}

void PagedOutput::CreatePageList(int level) {
    if (Target* target = TargetOf(level)) target->has_list = true;
}

bool PagedOutput::HasLevelFile(int level) const {
    const Target* target = TargetOf(level);
    return target != nullptr && target->file.IsOpen();
}

bool PagedOutput::HasPageList(int level) const {
    const Target* target = TargetOf(level);
    return target != nullptr && target->has_list;
}

const std::string& PagedOutput::LevelFilePath(int level) const {
    static const std::string kNone;
    const Target* target = TargetOf(level);
    return target != nullptr ? target->file.Path() : kNone;
}

bool PagedOutput::CloseLevelFile(int level) {
    Target* target = TargetOf(level);
    return target == nullptr || target->file.Close();
}

void PagedOutput::EndRun() {
    for (Target& target : targets_) {
        target.file.Close();
        target.has_list = false;
        target.page.clear();
        target.page.shrink_to_fit();
        target.row_ends.clear();
        target.row_ends.shrink_to_fit();
    }
    buffer_.clear();
    buffer_.shrink_to_fit();
}

void PagedOutput::ClearPendingBreaks() {
    for (Target& target : targets_) target.pending = false;
}

int PagedOutput::CurrentPageLength() const {
    return run_.FPageNo == 1 ? client_.FirstPageSize() : client_.PageSize();
}

void PagedOutput::AppendRange(std::string_view body, ColumnRange range, std::string& out) const {
    if (range.from <= 0 || range.to < range.from) return;
    const std::size_t skip =
        text::PrefixBytes(body, static_cast<std::size_t>(range.from - 1), encoding_);
    const std::string_view rest = body.substr(skip);
    out.append(
        text::CharPrefix(rest, static_cast<std::size_t>(range.to - range.from + 1), encoding_));
}

// The text written for one output line: whole, or cut to the column ranges of SetBorder
// (the line end is taken off before cutting and put back once after).
void PagedOutput::LineText(std::string_view line, std::string& out) const {
    if (!border_set_) {
        // A line holding no CR (or no LF) gets one at its end; most end with both.
        const std::size_t n = line.size();
        const bool ends_crlf = n >= 2 && line[n - 2] == '\r' && line[n - 1] == '\n';
        const bool has_cr = ends_crlf || line.find('\r') != std::string_view::npos;
        const bool has_lf = ends_crlf || line.find('\n') != std::string_view::npos;
        out.append(line);
        if (!has_cr) out.push_back('\r');
        if (!has_lf) out.push_back('\n');
        return;
    }
    std::string_view body = line;
    while (!body.empty() && IsLineEnd(body.back())) body.remove_suffix(1);
    if (rtf_) {
        out.append(body);
    } else {
        AppendRange(body, border_[0], out);
    }
    AppendRange(body, border_[1], out);
    AppendRange(body, border_[2], out);
    out.append("\r\n");
}

void PagedOutput::Break(Target& target, int level, TStream* stream) {
    TNewPageAction action = paNewPage;
    if (client_.HasBeforeNewPage()) action = client_.BeforeNewPage(run_.FPageNo, run_.FColumn);
    if (action == paNewColumn || action == paNewDetailColumn) {
        ++run_.FColumn;
    } else {
        action = paNewPage;
        WritePageStrings(level, stream);
        run_.FColumn = 1;
    }
    target.pending = false;
    if (action == paNewDetailColumn) {
        ++run_.FPageNo;
        // The next column starts beside the first detail row, below the heading rows.
        target.lines_on_page = target.head_lines;
        target.head_lines = 0;
        return;
    }
    target.lines_on_page = 0;
    target.head_lines = 0;
    // The footer belongs to the finished page: it is built with that page's number.
    EilPlist footer;
    client_.BuildLevel(rlFooter, footer);
    ++run_.FPageNo;
    footer.Add(static_cast<std::uint8_t>(level), 0, marker_);
    PrintLine(footer, level, stream);
    client_.ProgressStep();
    EilPlist heading;
    client_.BuildLevel(rlNewPage, heading);
    PrintLine(heading, level, stream);
}

void PagedOutput::PrintLine(const EilPlist& list, int level, TStream* stream) {
    if (run_.FStopped != kNotStopped) return;
    Target* target = TargetOf(level);
    if (target == nullptr) return;
    if (target->pending && !list.Empty()) {
        Break(*target, level, stream);
        if (run_.FStopped != kNotStopped) return;
    }
    const bool writable = stream != nullptr || target->file.IsOpen();
    const bool count_lines = !client_.OnePageReport();
    for (const DataNodeRec& node : list) {
        const int source = node.X;
        const bool routed =
            source >= level || source <= rlNewPage || (level == rlDetail && source == rlDetailHead);
        if (!writable || !routed) continue;
        if (source <= rlNewPage) ++target->head_lines;
        AppendLine(*target, node.Val);
        if (count_lines) ++target->lines_on_page;
    }
    const int length = CurrentPageLength();
    // Once the data has ended, the closing sum lines and the report end stay on the page
    // they reach: a full page no longer makes a break pending (NewPageBefore still does).
    const bool full = client_.PageSize() > 0 && !run_.FEof && target->lines_on_page >= length;
    // An empty list never withdraws a break that is already pending.
    target->pending = list.Empty() ? (target->pending || full) : full;
    if (target->row_ends.size() >= kEarlyWriteRows && run_.FColumn == 1 &&
        !client_.HasBeforeNewPage()) {
        WritePageStrings(level, stream);
    }
}

void PagedOutput::AppendPageStrings(int level, std::string_view text) {
    if (Target* target = TargetOf(level)) AppendRow(*target, text);
}

void PagedOutput::AppendLine(Target& target, std::string_view line) {
    const std::size_t row = static_cast<std::size_t>(std::max(target.lines_on_page, 0));
    if (run_.FColumn > 1 && target.row_ends.size() > row) {
        text_.clear();
        LineText(line, text_);
        AppendRow(target, text_);
        return;
    }
    // A new row: the line's text goes straight onto the page.
    LineText(line, target.page);
    target.row_ends.push_back(target.page.size());
}

void PagedOutput::AppendRow(Target& target, std::string_view text) {
    const std::size_t row = static_cast<std::size_t>(std::max(target.lines_on_page, 0));
    std::vector<std::size_t>& ends = target.row_ends;
    if (run_.FColumn > 1 && ends.size() > row) {
        // A further column: the row loses its line ends and gets the text at its right end.
        std::string& page = target.page;
        const std::size_t begin = row == 0 ? 0 : ends[row - 1];
        const auto first = page.begin() + static_cast<std::ptrdiff_t>(begin);
        const auto last = page.begin() + static_cast<std::ptrdiff_t>(ends[row]);
        const auto kept = std::remove_if(first, last, IsLineEnd);
        const std::size_t removed = static_cast<std::size_t>(last - kept);
        page.erase(kept, last);
        page.insert(ends[row] - removed, text);
        for (std::size_t r = row; r < ends.size(); ++r) ends[r] = ends[r] - removed + text.size();
        return;
    }
    target.page.append(text);
    ends.push_back(target.page.size());
}

bool PagedOutput::WriteChecked(Target& target, TStream* stream, std::string_view data) {
    std::size_t done = 0;
    const std::uint64_t start = stream != nullptr ? stream->Position() : 0;
    for (bool retry = false;; retry = true) {
        bool ok = false;
        if (stream != nullptr) {
            ok = (!retry || stream->Seek(start)) && stream->Write(data);
        } else {
            ok = target.file.Write(data, done);
        }
        if (ok) return true;
        run_.FStopped = kStoppedByOutputError;
        if (client_.AskOutputError() != mrNo) return false;
        run_.FStopped = kNotStopped;
    }
}

bool PagedOutput::WritePageStrings(int level, TStream* stream) {
    Target* target = TargetOf(level);
    if (target == nullptr || !target->has_list) return true;
    if (stream == nullptr && !target->file.IsOpen()) {
        target->page.clear();
        target->row_ends.clear();
        return true;
    }
    // The page is written from its own buffer; the target starts the next page in the
    // room of the one written before.
    buffer_.swap(target->page);
    target->page.clear();
    target->row_ends.clear();
    if (buffer_.empty()) return true;
    return WriteChecked(*target, stream, buffer_);
}

bool PagedOutput::AppendToLevelFile(int level, std::string_view text) {
    Target* target = TargetOf(level);
    if (target == nullptr || !target->file.IsOpen()) return false;
    std::size_t done = 0;
    return target->file.Write(text, done);
}

namespace {
int TargetLevel(int level) {
    return level % 128;
}
}  // namespace

void PagedOutput::NewPage(int level) {
    const int l = TargetLevel(level);
    if (Target* target = TargetOf(l)) {
        target->lines_on_page = CurrentPageLength();
        target->pending = false;
    }
}

void PagedOutput::NewPageBefore(int level) {
    if (Target* target = TargetOf(TargetLevel(level))) target->pending = true;
}

void PagedOutput::NewPageWait(int level) {
    if (Target* target = TargetOf(TargetLevel(level))) target->pending = false;
}

int PagedOutput::LinesOnPage(int level) const {
    const Target* target = TargetOf(level);
    return target != nullptr ? target->lines_on_page : 0;
}

int PagedOutput::HeadLines(int level) const {
    const Target* target = TargetOf(level);
    return target != nullptr ? target->head_lines : 0;
}

bool PagedOutput::NewPagePending(int level) const {
    const Target* target = TargetOf(level);
    return target != nullptr && target->pending;
}

std::vector<std::string_view> PagedOutput::PageStrings(int level) const {
    std::vector<std::string_view> rows;
    if (const Target* target = TargetOf(level)) {
        std::size_t begin = 0;
        for (const std::size_t end : target->row_ends) {
            rows.emplace_back(target->page.data() + begin, end - begin);
            begin = end;
        }
    }
    return rows;
}

}  // namespace quillon
