#include "viewers/rtf/rtf_reader.h"

#include <algorithm>
#include <optional>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/core/text_encoding.h"
#include "viewers/rtf/rtf_code_pages.h"
#include "viewers/rtf/rtf_keywords.h"
#include "viewers/rtf/rtf_tokens.h"

namespace quillon::rtf {

namespace {

// Where the text of a group goes.
enum class Destination : std::uint8_t {
    Body,
    Skip,
    FontTable,
    ColorTable,
    UnicodeAlternatives,  // inside \upr: only the \ud group is read
};

// Everything a group saves on entry and restores on exit.
struct GroupState {
    Destination destination = Destination::Body;
    Destination before_alternatives = Destination::Body;
    RtfCharFormat format;
    bool hidden = false;
    RtfAlignment alignment = RtfAlignment::Left;
    bool page_break_before = false;
    int unicode_skip = 1;
    // The code page of the current font's character set; null for the document's own.
    RtfCodePage* font_page = nullptr;
};

// A font table entry being read.
struct PendingFont {
    bool active = false;
    int number = -1;
    int charset = -1;
    int code_page = 0;  // \cpgN
    RtfFont font;

    // The code page its text is written in: \cpg, else its character set's; 0 for the
    // document's own.
    int Page() const { return code_page > 0 ? code_page : RtfCodePage::OfCharset(charset); }
};

// A colour table entry being read; -1 for a component not given.
struct PendingColor {
    int red = -1;
    int green = -1;
    int blue = -1;
};

constexpr char32_t kReplacement = 0xFFFD;
constexpr char32_t kLineSeparator = 0x2028;
constexpr int kMaxUnicodeSkip = 16;
constexpr int kMinHalfPoints = 2;
constexpr int kMaxHalfPoints = 3276;

bool IsAsciiLetter(unsigned char byte) {
    return (byte >= 'A' && byte <= 'Z') || (byte >= 'a' && byte <= 'z');
}

bool IsHighSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDBFF;
}
bool IsLowSurrogate(char32_t c) {
    return c >= 0xDC00 && c <= 0xDFFF;
}

class Reader {
  public:
    explicit Reader(std::string_view rtf) : tokens_(rtf) {
        stack_.emplace_back();
        document_page_ = PageOf(1252);
    }

    RtfDocument Read();

  private:
    GroupState& Top() { return stack_.back(); }

    void OnGroupStart(std::size_t position);
    void OnGroupEnd();
    void OnControlWord(const RtfToken& token);
    void OnBodyWord(RtfKeywordInfo info, const RtfToken& token);
    void OnFontTableWord(RtfKeywordInfo info, const RtfToken& token);
    void OnControlSymbol(char symbol);
    void OnText(std::string_view text);
    // A character byte of the text or of \'hh, decoded through the current code page; a
    // lead byte of a double-byte page waits for its trail byte, a letter of a composing
    // page for a mark that may join it.
    void OnByte(unsigned char byte);
    // OnByte for any byte but an ASCII one read as itself (plain_ascii_); out of line, so
    // that OnByte stays short for the ASCII text that most documents are made of.
    [[gnu::noinline]] void DecodeByte(unsigned char byte);
    // The byte after a waiting one: makes the pair's character or shows the waiting byte
    // alone; true when the byte is still to be read on its own.
    bool EndPendingWith(unsigned char byte);
    // Holds an ASCII letter of a composing page for a mark that may follow; false when the
    // current page does not compose.
    bool HoldLetter(unsigned char byte);
    // Ends the wait: a lead byte whose trail byte did not follow is shown as the
    // replacement character, a letter without a mark as itself.
    void FlushPendingByte();
    // The code page the current byte is read in.
    RtfCodePage* CurrentPage();
    // The page of a code page number, made on first use; null for one unknown here.
    RtfCodePage* PageOf(int number);

    // Takes one character of a \u fallback; true when it is to be dropped.
    bool SkipFallback();
    void Emit(char32_t c);
    void EmitBody(char32_t c);
    void AppendToParagraph(char32_t c);
    void EndParagraph();
    void FlushSurrogate();

    void BeginFont(int number);
    void CommitFont();
    void CommitColor();
    void SelectFont(GroupState& state, int number) const;
    RtfCharFormat PlainFormat() const;

    RtfTokenizer tokens_;
    std::vector<GroupState> stack_;
    bool star_ = false;       // \* seen: the next control word names an optional destination
    int skip_remaining_ = 0;  // fallback characters of the last \u still to drop
    char32_t pending_high_ = 0;

    std::unordered_map<int, std::unique_ptr<RtfCodePage>> pages_;  // by code page number
    RtfCodePage* document_page_ = nullptr;
    unsigned char lead_byte_ = 0;  // a lead byte waiting for its trail, or 0
    RtfCodePage* lead_page_ = nullptr;
    unsigned char base_byte_ = 0;  // a letter waiting for a combining mark, or 0
    RtfCodePage* base_page_ = nullptr;
    bool composing_pages_ = false;  // a page that joins letters and marks is in use
    // No byte waits and no page composes: an ASCII byte is a character as it is.
    bool plain_ascii_ = true;
    int default_font_ = -1;
    PendingFont font_;
    PendingColor color_;
    std::vector<std::optional<RtfColor>> colors_;
    std::vector<RtfCodePage*> font_pages_;               // by font index
    std::unordered_map<int, int> font_index_by_number_;  // \fN -> index into fonts

    RtfDocument doc_;
    RtfParagraph paragraph_;
    bool pending_page_break_ = false;
};

RtfDocument Reader::Read() {
    bool done = false;
    while (!done) {
        const RtfToken token = tokens_.Next();
        if (token.kind == RtfTokenKind::End) break;
        const bool inside = stack_.size() > 1;
        if (!inside && token.kind != RtfTokenKind::GroupStart) continue;  // before the document
        switch (token.kind) {
            case RtfTokenKind::GroupStart:
                OnGroupStart(token.position);
                break;
            case RtfTokenKind::GroupEnd:
                OnGroupEnd();
                done = stack_.size() == 1;  // the document's outermost group is closed
                break;
            case RtfTokenKind::ControlWord:
                OnControlWord(token);
                break;
            case RtfTokenKind::ControlSymbol:
                OnControlSymbol(token.symbol);
                break;
            case RtfTokenKind::HexByte:
                if (!SkipFallback()) OnByte(token.byte);
                break;
            case RtfTokenKind::Text:
                OnText(token.text);
                break;
            case RtfTokenKind::Binary:
                SkipFallback();  // data of pictures and objects, never text
                break;
            case RtfTokenKind::End:
                break;
        }
    }
    FlushPendingByte();
    FlushSurrogate();
    if (!paragraph_.runs.empty()) EndParagraph();
    return std::move(doc_);
}

void Reader::OnGroupStart(std::size_t position) {
    if (static_cast<int>(stack_.size()) > kMaxRtfDepth) {
        throw ERtfError("RTF groups are nested deeper than " + std::to_string(kMaxRtfDepth),
                        position);
    }
    FlushPendingByte();
    stack_.push_back(stack_.back());
    star_ = false;
    skip_remaining_ = 0;
}

void Reader::OnGroupEnd() {
    FlushPendingByte();
    const Destination ended = Top().destination;
    if (ended == Destination::FontTable && font_.active) CommitFont();
    stack_.pop_back();
    star_ = false;
    skip_remaining_ = 0;
    if (ended == Destination::FontTable && Top().destination != Destination::FontTable) {
        // The font table is complete: text that named no font yet takes the default one.
        for (GroupState& state : stack_) {
            if (state.format.font < 0) SelectFont(state, default_font_);
        }
    }
}

void Reader::OnControlWord(const RtfToken& token) {
    const RtfKeywordInfo info = FindRtfKeyword(token.word);
    FlushPendingByte();
    const bool star = std::exchange(star_, false);
    if (SkipFallback()) return;
    GroupState& state = Top();
    if (star && info.keyword != RtfKeyword::UnicodeDestination) {
        // An optional destination (\*\word): none of them holds text to show.
        state.destination = Destination::Skip;
        return;
    }
    switch (state.destination) {
        case Destination::Skip:
            return;
        case Destination::UnicodeAlternatives:
            if (info.keyword == RtfKeyword::UnicodeDestination) {
                state.destination = state.before_alternatives;
            }
            return;
        case Destination::FontTable:
            OnFontTableWord(info, token);
            return;
        case Destination::ColorTable: {
            const int value = std::clamp<int>(token.param, 0, 255);
            if (info.keyword == RtfKeyword::Red) color_.red = value;
            if (info.keyword == RtfKeyword::Green) color_.green = value;
            if (info.keyword == RtfKeyword::Blue) color_.blue = value;
            return;
        }
        case Destination::Body:
            OnBodyWord(info, token);
            return;
    }
}

void Reader::OnFontTableWord(RtfKeywordInfo info, const RtfToken& token) {
    switch (info.keyword) {
        case RtfKeyword::Font:
            BeginFont(token.param);
            break;
        case RtfKeyword::FontCharset:
            font_.charset = token.param;
            break;
        case RtfKeyword::FontCodePage:
            font_.code_page = token.param;
            break;
        case RtfKeyword::FontPitch:
            font_.font.fixed_pitch = token.param == 1;
            break;
        case RtfKeyword::FontFamily:
            font_.font.family = static_cast<RtfFontFamily>(info.value);
            break;
        case RtfKeyword::SkippedDestination:
            Top().destination = Destination::Skip;
            break;
        case RtfKeyword::Unicode:
            OnBodyWord(info, token);  // a Unicode letter of the font's name
            break;
        case RtfKeyword::UnicodeSkip:
            OnBodyWord(info, token);
            break;
        default:
            break;
    }
}

void Reader::OnBodyWord(RtfKeywordInfo info, const RtfToken& token) {
    GroupState& state = Top();
    const bool on = !token.has_param || token.param != 0;
    switch (info.keyword) {
        case RtfKeyword::Unknown:
            break;
        case RtfKeyword::CharsetAnsi:
            document_page_ = PageOf(1252);
            break;
        case RtfKeyword::CharsetMac: {
            RtfCodePage* page = PageOf(RtfCodePage::kMacRoman);
            document_page_ = page ? page : PageOf(1252);
            break;
        }
        case RtfKeyword::CharsetPc:
            if (RtfCodePage* page = PageOf(437)) document_page_ = page;
            break;
        case RtfKeyword::CharsetPca:
            if (RtfCodePage* page = PageOf(850)) document_page_ = page;
            break;
        case RtfKeyword::AnsiCodePage:
            if (token.param > 0) {
                RtfCodePage* page = PageOf(token.param);
                document_page_ = page ? page : PageOf(1252);
            }
            break;
        case RtfKeyword::DefaultFont:
            default_font_ = token.param;
            break;
        case RtfKeyword::FontTable:
            state.destination = Destination::FontTable;
            font_ = PendingFont{};
            break;
        case RtfKeyword::ColorTable:
            state.destination = Destination::ColorTable;
            colors_.clear();
            color_ = PendingColor{};
            break;
        case RtfKeyword::SkippedDestination:
            state.destination = Destination::Skip;
            break;
        case RtfKeyword::UnicodeAlternatives:
            state.before_alternatives = state.destination;
            state.destination = Destination::UnicodeAlternatives;
            break;
        case RtfKeyword::UnicodeDestination:
            break;  // \ud outside \upr: its text is read as it is
        case RtfKeyword::Font:
            SelectFont(state, token.param);
            break;
        case RtfKeyword::FontCharset:
        case RtfKeyword::FontCodePage:
        case RtfKeyword::FontPitch:
        case RtfKeyword::FontFamily:
        case RtfKeyword::Red:
        case RtfKeyword::Green:
        case RtfKeyword::Blue:
            break;  // meaningful in the tables only
        case RtfKeyword::Paragraph:
        case RtfKeyword::SectionBreak:
            EndParagraph();
            break;
        case RtfKeyword::LineBreak:
            Emit(kLineSeparator);
            break;
        case RtfKeyword::Tab:
        case RtfKeyword::Cell:
            Emit(U'\t');
            break;
        case RtfKeyword::Row:
            // The cells' separators end in one after the last cell: no trailing tab.
            if (!paragraph_.runs.empty() && !paragraph_.runs.back().text.empty() &&
                paragraph_.runs.back().text.back() == '\t') {
                paragraph_.runs.back().text.pop_back();
                if (paragraph_.runs.back().text.empty()) paragraph_.runs.pop_back();
            }
            EndParagraph();
            break;
        case RtfKeyword::PageBreak:
            FlushSurrogate();
            if (!paragraph_.runs.empty()) EndParagraph();
            pending_page_break_ = true;
            break;
        case RtfKeyword::Character:
            Emit(info.value);
            break;
        case RtfKeyword::Unicode:
            if (token.has_param) {
                // Values above 32767 are written as negative 16-bit numbers.
                const std::int32_t value = token.param < 0 ? token.param + 65536 : token.param;
                if (value >= 0 && value <= 0x10FFFF) Emit(static_cast<char32_t>(value));
                skip_remaining_ = state.unicode_skip;
            }
            break;
        case RtfKeyword::UnicodeSkip:
            state.unicode_skip = token.has_param ? std::clamp(token.param, 0, kMaxUnicodeSkip) : 1;
            break;
        case RtfKeyword::Plain:
            state.format = PlainFormat();
            state.font_page = state.format.font >= 0
                                  ? font_pages_[static_cast<std::size_t>(state.format.font)]
                                  : nullptr;
            state.hidden = false;
            break;
        case RtfKeyword::Bold:
            state.format.bold = on;
            break;
        case RtfKeyword::Italic:
            state.format.italic = on;
            break;
        case RtfKeyword::Underline:
            state.format.underline = on;
            break;
        case RtfKeyword::UnderlineNone:
            state.format.underline = false;
            break;
        case RtfKeyword::Strike:
            state.format.strike = on;
            break;
        case RtfKeyword::Hidden:
            state.hidden = on;
            break;
        case RtfKeyword::Superscript:
            state.format.vertical = RtfVerticalAlign::Superscript;
            break;
        case RtfKeyword::Subscript:
            state.format.vertical = RtfVerticalAlign::Subscript;
            break;
        case RtfKeyword::NoSuperSub:
            state.format.vertical = RtfVerticalAlign::Baseline;
            break;
        case RtfKeyword::FontSize:
            state.format.font_size =
                token.has_param ? std::clamp(token.param, kMinHalfPoints, kMaxHalfPoints) / 2.0
                                : 12.0;
            break;
        case RtfKeyword::ForeColor: {
            const std::size_t index = static_cast<std::size_t>(std::max(token.param, 0));
            state.format.color = index < colors_.size() ? colors_[index] : std::nullopt;
            break;
        }
        case RtfKeyword::ParagraphDefault:
            state.alignment = RtfAlignment::Left;
            state.page_break_before = false;
            break;
        case RtfKeyword::Alignment:
            state.alignment = static_cast<RtfAlignment>(info.value);
            break;
        case RtfKeyword::PageBreakBefore:
            state.page_break_before = on;
            break;
    }
}

void Reader::OnControlSymbol(char symbol) {
    if (symbol == '*') {
        FlushPendingByte();
        star_ = true;
        return;
    }
    if (SkipFallback()) return;
    if (symbol == '\\' || symbol == '{' || symbol == '}') {
        // Also the trail byte of a double-byte character.
        OnByte(static_cast<unsigned char>(symbol));
        return;
    }
    FlushPendingByte();
    switch (symbol) {
        case '~':
            Emit(0x00A0);  // no-break space
            break;
        case '-':
            Emit(0x00AD);  // optional hyphen
            break;
        case '_':
            Emit(0x2011);  // non-breaking hyphen
            break;
        case '\n':
            if (Top().destination == Destination::Body) EndParagraph();
            break;
        default:
            break;  // \| \: and the rest carry nothing to show
    }
}

void Reader::OnText(std::string_view text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char ch = text[i];
        // Unescaped bytes above 0x7F that form UTF-8 are read as UTF-8: the engine writes
        // the values of a UTF-8 template so. Any other such byte is of the code page.
        // A byte after a lead byte is its trail byte, whatever it looks like.
        const std::size_t utf8 = static_cast<unsigned char>(ch) >= 0x80 && lead_byte_ == 0
                                     ? text::Utf8SequenceLength(text.substr(i))
                                     : 0;
        if (SkipFallback()) {
            if (utf8 > 1) i += utf8 - 1;
            continue;
        }
        const Destination destination = Top().destination;
        if (destination == Destination::FontTable && ch == ';') {
            FlushPendingByte();
            CommitFont();
        } else if (destination == Destination::ColorTable) {
            if (ch == ';') CommitColor();
        } else if (utf8 > 1) {
            FlushPendingByte();
            Emit(text::DecodeText(text.substr(i, utf8)).front());
            i += utf8 - 1;
        } else {
            OnByte(static_cast<unsigned char>(ch));
        }
    }
}

void Reader::OnByte(unsigned char byte) {
    if (byte < 0x80 && plain_ascii_) {  // the usual case, kept short
        if (byte == '\t' || byte >= 0x20) Emit(byte);
        return;
    }
    DecodeByte(byte);
    plain_ascii_ = !composing_pages_ && lead_byte_ == 0 && base_byte_ == 0;
}

void Reader::DecodeByte(unsigned char byte) {
    if ((lead_byte_ | base_byte_) != 0 && !EndPendingWith(byte)) return;
    if (byte < 0x80) {
        if (composing_pages_ && IsAsciiLetter(byte) && HoldLetter(byte)) return;
        if (byte == '\t' || byte >= 0x20) Emit(byte);
        return;
    }
    RtfCodePage* page = CurrentPage();
    if (page->IsLeadByte(byte)) {
        lead_byte_ = byte;
        lead_page_ = page;
        return;
    }
    const char32_t c = page->Decode(byte);
    if (c != 0 && page->Composes() && !page->IsCombiningMark(byte)) {
        base_byte_ = byte;
        base_page_ = page;
        return;
    }
    Emit(c != 0 ? c : kReplacement);
}

bool Reader::EndPendingWith(unsigned char byte) {
    if (lead_byte_ != 0) {
        const unsigned char lead = std::exchange(lead_byte_, 0);
        const char32_t c = lead_page_->DecodePair(lead, byte);
        if (c != 0) {
            Emit(c);
            return false;
        }
        Emit(kReplacement);
        return byte < 0x80;  // no pair, and no character of its own either
    }
    const unsigned char base = std::exchange(base_byte_, 0);
    if (base_page_->IsCombiningMark(byte) && CurrentPage() == base_page_) {
        if (const char32_t c = base_page_->Compose(base, byte)) {
            Emit(c);
            return false;
        }
    }
    Emit(base < 0x80 ? base : base_page_->Decode(base));
    return true;
}

bool Reader::HoldLetter(unsigned char byte) {
    RtfCodePage* page = CurrentPage();
    if (!page->Composes()) return false;
    base_byte_ = byte;
    base_page_ = page;
    return true;
}

void Reader::FlushPendingByte() {
    if (base_byte_ != 0) {
        const unsigned char base = std::exchange(base_byte_, 0);
        Emit(base < 0x80 ? base : base_page_->Decode(base));
    }
    if (lead_byte_ != 0) {
        lead_byte_ = 0;
        Emit(kReplacement);
    }
    plain_ascii_ = !composing_pages_;
}

RtfCodePage* Reader::CurrentPage() {
    const GroupState& state = Top();
    if (state.destination == Destination::FontTable && font_.active) {
        // A font's name is written in the font's own character set.
        const int number = font_.Page();
        if (RtfCodePage* page = number > 0 ? PageOf(number) : nullptr) return page;
    }
    return state.font_page ? state.font_page : document_page_;
}

RtfCodePage* Reader::PageOf(int number) {
    const auto [it, added] = pages_.try_emplace(number);
    if (added) {
        it->second = RtfCodePage::Make(number);
        if (it->second && it->second->Composes()) composing_pages_ = true;
        plain_ascii_ = plain_ascii_ && !composing_pages_;
    }
    return it->second.get();
}

bool Reader::SkipFallback() {
    if (skip_remaining_ <= 0) return false;
    --skip_remaining_;
    return true;
}

void Reader::Emit(char32_t c) {
    switch (Top().destination) {
        case Destination::Body:
            EmitBody(c);
            break;
        case Destination::FontTable:
            if (!font_.active) BeginFont(-1);
            text::AppendUtf8(font_.font.name, c);
            break;
        default:
            break;
    }
}

void Reader::EmitBody(char32_t c) {
    if (Top().hidden) return;
    if (IsHighSurrogate(c)) {
        FlushSurrogate();
        pending_high_ = c;
        return;
    }
    if (IsLowSurrogate(c)) {
        if (pending_high_ == 0) {
            AppendToParagraph(kReplacement);
            return;
        }
        const char32_t high = std::exchange(pending_high_, 0);
        AppendToParagraph(0x10000 + ((high - 0xD800) << 10) + (c - 0xDC00));
        return;
    }
    FlushSurrogate();
    AppendToParagraph(c);
}

void Reader::FlushSurrogate() {
    if (pending_high_ == 0) return;
    pending_high_ = 0;
    AppendToParagraph(kReplacement);
}

void Reader::AppendToParagraph(char32_t c) {
    const RtfCharFormat& format = Top().format;
    std::vector<RtfRun>& runs = paragraph_.runs;
    if (runs.empty() || !(runs.back().format == format)) runs.push_back(RtfRun{{}, format});
    text::AppendUtf8(runs.back().text, c);
}

void Reader::EndParagraph() {
    FlushSurrogate();
    const GroupState& state = Top();
    paragraph_.mark_format = state.format;
    paragraph_.alignment = state.alignment;
    paragraph_.page_break_before = state.page_break_before || pending_page_break_;
    pending_page_break_ = false;
    doc_.paragraphs.push_back(std::move(paragraph_));
    paragraph_ = RtfParagraph{};
}

void Reader::BeginFont(int number) {
    if (font_.active) CommitFont();
    font_ = PendingFont{};
    font_.active = true;
    font_.number = number;
}

void Reader::CommitFont() {
    if (!font_.active) return;
    std::string_view name = text::Trim(font_.font.name);
    font_.font.name = std::string(name);
    const int index = static_cast<int>(doc_.fonts.size());
    if (font_.font.family == RtfFontFamily::Modern) font_.font.fixed_pitch = true;
    doc_.fonts.push_back(std::move(font_.font));
    const int page = font_.Page();
    font_pages_.push_back(page > 0 ? PageOf(page) : nullptr);
    if (font_.number >= 0) font_index_by_number_[font_.number] = index;
    font_ = PendingFont{};
}

void Reader::CommitColor() {
    if (color_.red < 0 && color_.green < 0 && color_.blue < 0) {
        colors_.emplace_back();  // the automatic colour
    } else {
        colors_.push_back(RtfColor{static_cast<std::uint8_t>(std::max(color_.red, 0)),
                                   static_cast<std::uint8_t>(std::max(color_.green, 0)),
                                   static_cast<std::uint8_t>(std::max(color_.blue, 0))});
    }
    color_ = PendingColor{};
}

void Reader::SelectFont(GroupState& state, int number) const {
    const auto it = font_index_by_number_.find(number);
    if (it == font_index_by_number_.end()) return;  // a font the table does not list
    state.format.font = it->second;
    state.font_page = font_pages_[static_cast<std::size_t>(it->second)];
}

RtfCharFormat Reader::PlainFormat() const {
    RtfCharFormat format;
    if (const auto it = font_index_by_number_.find(default_font_);
        it != font_index_by_number_.end()) {
        format.font = it->second;
    }
    return format;
}

}  // namespace

ERtfError::ERtfError(const std::string& what, std::size_t position)
    : std::runtime_error(what + " at byte " + std::to_string(position)), position_(position) {}

bool LooksLikeRtf(std::string_view bytes) {
    if (bytes.starts_with("\xEF\xBB\xBF")) bytes.remove_prefix(3);
    while (!bytes.empty() && (bytes.front() == ' ' || bytes.front() == '\t' ||
                              bytes.front() == '\r' || bytes.front() == '\n')) {
        bytes.remove_prefix(1);
    }
    return bytes.starts_with("{\\rtf");
}

RtfDocument ReadRtf(std::string_view rtf) {
    if (!LooksLikeRtf(rtf)) {
        throw ERtfError("not an RTF document: it does not begin with {\\rtf", 0);
    }
    return Reader(rtf).Read();
}

}  // namespace quillon::rtf
