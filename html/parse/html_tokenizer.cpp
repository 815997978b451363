#include "html/parse/html_tokenizer.h"

#include <algorithm>

#include "html/parse/html_entity_table.h"
#include "html/parse/html_number.h"
#include "html/parse/html_vocabulary.h"
#include "html/parse/parse_error.h"

namespace quillon {

namespace {

constexpr std::size_t kMaxTextRun = 100;  // characters in one text token
constexpr std::size_t kMaxName = 150;     // characters kept of a tag or attribute name
constexpr std::size_t kMaxTagText = 150;  // characters of a '<' token in a text area

inline bool IsTextChar(char32_t c) {
    return c == kEolChar || (c >= 32 && c <= 37) || (c >= 39 && c <= 59) || c == 61 || c >= 63;
}
// A buffered character NextChar delivers unchanged: no line end, tab, control or end of
// input, and no '<' that might open a comment.
inline bool IsPlain(char32_t c) {
    return c >= 32 && c != U'<';
}
// A plain character that a text run takes as it is.
inline bool IsPlainTextChar(char32_t c) {
    return c > 32 && c != U'&' && c != U'<' && c != U'>';
}
inline bool IsAsciiLetter(char32_t c) {
    return (c | 0x20) >= U'a' && (c | 0x20) <= U'z';
}
inline bool IsUpperLetter(char32_t c) {
    return c >= U'A' && c <= U'Z';
}
inline bool IsDigit(char32_t c) {
    return c >= U'0' && c <= U'9';
}
inline bool IsHexDigit(char32_t c) {
    return IsDigit(c) || (c >= U'A' && c <= U'F') || (c >= U'a' && c <= U'f');
}
inline bool IsWhite(char32_t c) {
    return c == U' ' || c == kEolChar;
}
inline bool IsAsciiAlnum(char32_t c) {
    return IsAsciiLetter(c) || IsDigit(c);
}

constexpr char32_t kReplacementChar = 0xFFFD;
constexpr std::uint32_t kBeyondUnicode = 0x110000;

// The character a numeric reference stands for. 128 to 159 are read as Windows-1252 (as
// documents written in that code page mean them); zero, surrogates and values beyond
// Unicode give the replacement character. Tab, form feed and carriage return are white
// space; other controls are kept.
char32_t NumericCharacter(std::uint32_t v) {
    if (v == 0 || v >= kBeyondUnicode || (v >= 0xD800 && v <= 0xDFFF)) return kReplacementChar;
    if (v >= 128 && v <= 159) return text::Cp1252ToUnicode(static_cast<unsigned char>(v));
    if (v == 9 || v == 12 || v == 13) return U' ';
    return v;
}

void AppendEntity(std::u32string& out, const EntityEntry& e) {
    out.push_back(e.first);
    if (e.second != 0) out.push_back(e.second);
}

}  // namespace

HtmlTokenizer::HtmlTokenizer(std::unique_ptr<ByteSource> source, std::size_t chunk)
    : decoder_(std::move(source), chunk),
      buf_size_(chunk < 4096 ? chunk : 4096),
      buf_(std::make_unique_for_overwrite<char32_t[]>(buf_size_)),
      name_(kMaxName, '\0'),
      tag_name_(kMaxName + 1, '\0') {}

char32_t HtmlTokenizer::Refill() {
    if (!ended_) {
        len_ = decoder_.Decode(buf_.get(), buf_size_);
        pos_ = 0;
        if (len_ > 0) return NextSourceChar();
        ended_ = true;
    }
    pos_ = len_ = 0;
    return kEofChar;
}

void HtmlTokenizer::NextBasicCharSlow() {
    char32_t c = NextSourceChar();
    if (c == 10) {  // LF and LF CR
        const char32_t d = NextSourceChar();
        if (d != 13) Unread(d);
        c = kEolChar;
    } else if (c == 13) {  // CR and CR LF
        const char32_t d = NextSourceChar();
        if (d != 10) Unread(d);
    } else if (c == 9) {
        c = U' ';
    }
    SetChar(c);
    if (c == kEofChar && in_comment_) throw EParseError("Open Comment at End of HTML File");
}

void HtmlTokenizer::NextCharSlow() {
    // A '<' whose next character is buffered and is not '!' starts no comment: it is an
    // ordinary character.
    if (pos_ + 1 < len_ && buf_[pos_] == U'<' && buf_[pos_ + 1] != U'!') {
        ++pos_;
        SetChar(U'<');
        return;
    }
    NextBasicCharSlow();
    while (ch_ == U'<') {
        const char32_t next = NextSourceChar();
        if (next != U'!') {
            Unread(next);
            return;
        }
        in_comment_ = true;
        SkipCommentOrDeclaration();
        // The comment is closed: an end of input after it is an ordinary end.
        in_comment_ = false;
        NextBasicChar();
    }
}

// Called after "<!"; returns with the current character at the closing '>'.
void HtmlTokenizer::SkipCommentOrDeclaration() {
    NextBasicChar();
    if (ch_ == U'-') {
        NextBasicChar();
        if (ch_ == U'-') {
            NextBasicChar();
            for (;;) {
                if (ch_ != U'-') {
                    NextBasicChar();
                    continue;
                }
                NextBasicChar();
                if (ch_ != U'-') continue;  // a single dash: go on from this character
                while (ch_ == U'-') NextBasicChar();
                while (IsWhite(ch_)) NextBasicChar();
                if (ch_ == U'>') return;
            }
        }
    }
    while (ch_ != U'>') NextBasicChar();
}

void HtmlTokenizer::NextSymbol() {
    token_.clear();
    if (ch_ == kEofChar) {
        sy_ = Symb::EofSy;
    } else if (ch_ == U'<') {
        ReadTag();
    } else if (ch_ == U'&') {
        ReadEntity(token_);
        sy_ = Symb::TextSy;
    } else {
        ReadTextRun();
        if (token_.empty()) {
            sy_ = Symb::OtherChar;
            token_.push_back(ch_);
            NextChar();
        } else {
            sy_ = Symb::TextSy;
        }
    }
}

void HtmlTokenizer::ReadTextRun() {
    while (token_.size() < kMaxTextRun && IsTextChar(ch_)) {
        if (!preformatted_ && IsWhite(ch_)) {
            token_.push_back(U' ');
            do NextChar();
            while (IsWhite(ch_));
        } else {
            token_.push_back(ch_);
            // Take the plain characters that follow straight from the buffer. Outside
            // preformatted text a single space between two of them is taken too: it folds to
            // itself.
            const char32_t* b = buf_.get();
            const std::size_t end = std::min(len_, pos_ + (kMaxTextRun - token_.size()));
            std::size_t i = pos_;
            if (preformatted_) {
                while (i < end && (b[i] == U' ' || IsPlainTextChar(b[i]))) ++i;
            } else {
                for (; i < end; ++i) {
                    if (b[i] == U' ') {
                        if (i + 1 == end || !IsPlainTextChar(b[i + 1])) break;
                    } else if (!IsPlainTextChar(b[i])) {
                        break;
                    }
                }
            }
            token_.append(b + pos_, i - pos_);
            pos_ = i;
            NextChar();
        }
    }
}

// Appends to `out` the buffered characters from pos_ that NextChar would deliver unchanged
// and `take` accepts, and moves past them. The caller then calls NextChar() for the
// character after them, exactly as if it had read them one by one.
template <class Take>
void HtmlTokenizer::TakePlainRun(std::u32string& out, Take take) {
    const char32_t* b = buf_.get();
    std::size_t i = pos_;
    while (i < len_ && IsPlain(b[i]) && take(b[i])) ++i;
    out.append(b + pos_, i - pos_);
    pos_ = i;
}

template <bool kAttribute>
std::string_view HtmlTokenizer::CollectName(std::string& storage) {
    char* const out = storage.data();  // at least kMaxName characters
    std::size_t n = 0;
    // A tag's name is letters; an attribute's name goes on with digits, '-', '_', ':' and
    // '.' (data-row, aria-label, xml:lang), so that such an attribute neither ends the
    // attributes nor loses its value.
    const auto in_name = [](char32_t c) {
        if constexpr (kAttribute) {
            return IsAsciiAlnum(c) || c == U'-' || c == U'_' || c == U':' || c == U'.';
        } else {
            return IsAsciiLetter(c);
        }
    };
    while (IsUpperLetter(uch_) || (kAttribute && n > 0 && in_name(uch_))) {
        if (n < kMaxName) out[n++] = static_cast<char>(uch_);
        // The name characters that follow, straight from the buffer (NextChar passes them
        // as they are); letters are kept in upper case, as NextChar gives them.
        const char32_t* const b = buf_.get();
        const std::size_t len = len_;
        std::size_t i = pos_;
        for (; i < len && in_name(b[i]); ++i) {
            if (n < kMaxName) {
                out[n++] = static_cast<char>(IsAsciiLetter(b[i]) ? b[i] & ~char32_t{0x20} : b[i]);
            }
        }
        pos_ = i;
        NextChar();
    }
    return {out, n};
}

// A start tag without a symbol of its own: a LINK may name a style sheet file, whose REL and
// MEDIA are read by name. Kept apart so that the common path keeps its registers.
void HtmlTokenizer::NoteUnknownTag() {
    if (std::string_view(tag_name_.data(), tag_len_) == "LINK") {
        style_hint_ = true;
        keep_names_ = true;
    }
}

void HtmlTokenizer::ReadTag() {
    NextChar();  // past '<'
    bool end_tag = false;
    if (ch_ == U'/') {
        end_tag = true;
        NextChar();
    }
    sy_ = Symb::OtherSy;
    // The tag's name is collected where it stays while its attributes are read.
    const std::string_view name = CollectName<false>(tag_name_);
    tag_len_ = name.size();
    end_tag_ = end_tag;
    if (auto tag = LookupTag(name)) {
        sy_ = end_tag ? tag->end : tag->start;
        // A STYLE element's MEDIA is read by name.
        if (sy_ == Symb::StyleSy) keep_names_ = true;
    } else if (!end_tag) {
        NoteUnknownTag();
    }
    SkipWhiteSpace();
    tag_value_ = 0;
    if ((sy_ == Symb::HeadingSy || sy_ == Symb::HeadingEndSy) && ch_ >= U'1' && ch_ <= U'6') {
        tag_value_ = static_cast<int>(ch_ - U'0');
        tag_name_[tag_len_++] = static_cast<char>(ch_);
        NextChar();
    }
    // Every start tag keeps its attributes: style sheets select by class, id and any
    // attribute of any element.
    if ((!end_tag && tag_len_ != 0) || CollectsAttributes(sy_)) {
        attributes_.Clear();
        if (ch_ != U'>') {
            while (ReadAttribute(attributes_.NewSlot())) {
            }
            attributes_.DropLast();  // the slot no attribute was read into
        }
    } else if (ch_ != U'>') {
        while (ReadAttribute(scratch_)) {
        }
    }
    while (ch_ != U'>' && ch_ != kEofChar) NextChar();
    if (sy_ == Symb::ScriptSy || sy_ == Symb::StyleSy) {
        NextBasicChar();  // the text is read as it stands: a comment in it is text too
        const bool style = sy_ == Symb::StyleSy;
        if (style) style_hint_ = true;
        std::string media;
        if (style) {
            for (const TAttribute& a : attributes_) {
                if (a.Name == "MEDIA") media = a.TextUtf8();
            }
        }
        const std::size_t begin = style_sheet_.size();
        ReadRawText(style ? "STYLE" : "SCRIPT", style && !in_template_ ? &style_sheet_ : nullptr);
        if (!media.empty() && style_sheet_.size() > begin) {
            style_media_.push_back({begin, style_sheet_.size(), std::move(media)});
        }
        return;
    }
    NextChar();
    if (sy_ == Symb::TemplateSy && !in_template_) SkipTemplate();
}

// Reads the text of a SCRIPT or STYLE element from the current character up to and past
// its end tag (or the end of input), appending it to `keep` when given. A '/' before the
// end of the start tag changes nothing: these elements always have text and an end tag.
void HtmlTokenizer::ReadRawText(std::string_view upper_name, std::u32string* keep) {
    const std::size_t start = keep ? keep->size() : 0;
    const auto take = [keep](char32_t c) {
        if (keep) keep->push_back(c == kEolChar ? U'\n' : c);
    };
    while (ch_ != kEofChar) {
        if (ch_ != U'<') {
            take(ch_);
            NextBasicChar();
            continue;
        }
        const std::size_t mark = keep ? keep->size() : 0;
        take(ch_);
        NextBasicChar();
        if (ch_ != U'/') continue;
        take(ch_);
        NextBasicChar();
        std::size_t i = 0;
        while (i < upper_name.size() && uch_ == static_cast<char32_t>(upper_name[i])) {
            take(ch_);
            NextBasicChar();
            ++i;
        }
        if (i == upper_name.size() && (IsWhite(ch_) || ch_ == U'/' || ch_ == U'>')) {
            if (keep) keep->resize(mark);
            while (ch_ != U'>' && ch_ != kEofChar) NextBasicChar();
            NextChar();
            break;
        }
    }
    if (keep && keep->size() > start) keep->push_back(U'\n');
}

// Called after a TEMPLATE start tag: reads symbols up to its end tag, counting nested
// templates. What it held is dropped; the symbol becomes OtherSy (EofSy at the end).
void HtmlTokenizer::SkipTemplate() {
    in_template_ = true;
    std::size_t depth = 1;
    while (depth > 0) {
        NextSymbol();
        if (sy_ == Symb::EofSy) break;
        if (sy_ == Symb::TemplateSy) {
            ++depth;
        } else if (sy_ == Symb::TemplateEndSy) {
            --depth;
        }
    }
    in_template_ = false;
    token_.clear();
    if (sy_ != Symb::EofSy) sy_ = Symb::OtherSy;
}

bool HtmlTokenizer::ReadAttribute(TAttribute& a) {
    SkipWhiteSpace();
    // A '/' between attributes (as in <BR/> or <A/HREF=x>) is passed over.
    while (ch_ == U'/') {
        NextChar();
        SkipWhiteSpace();
    }
    if (!IsUpperLetter(uch_)) return false;  // no name: the attributes end
    const std::string_view name = CollectName<true>(name_);
    if (keep_names_) a.Name.assign(name);
    a.Sym = LookupAttribute(name);
    if (a.Sym == Symb::StyleSy) style_hint_ = true;
    SkipWhiteSpace();
    a.Text.clear();
    a.Number = a.Sym == Symb::BorderSy ? 1 : 0;  // a bare BORDER means 1
    if (ch_ == U'=') {
        NextChar();
        SkipWhiteSpace();
        if (ch_ == U'"' || ch_ == U'\'') {
            ReadQuotedValue(a);
        } else if (ch_ == U'+' || ch_ == U'-' || IsDigit(ch_)) {
            ReadNumericValue(a);
        } else {
            ReadBareValue(a);
        }
    }
    return true;
}

void HtmlTokenizer::ReadQuotedValue(TAttribute& a) {
    const char32_t quote = ch_;
    const Symb saved = sy_;
    NextChar();
    while (ch_ != quote && ch_ != kEofChar) {
        if (ch_ == kEolChar) {
            NextChar();  // line ends inside quotes are dropped
        } else if (ch_ == U'&') {
            ReadEntity(a.Text, true);
        } else {
            a.Text.push_back(ch_);
            TakePlainRun(a.Text, [quote](char32_t c) { return c != quote && c != U'&'; });
            NextChar();
        }
    }
    if (ch_ == quote) NextChar();
    // Trim in place, keeping the storage for the next tag.
    std::size_t b = 0, e = a.Text.size();
    while (b < e && a.Text[b] <= 32) ++b;
    while (e > b && a.Text[e - 1] <= 32) --e;
    a.Text.erase(e);
    a.Text.erase(0, b);
    std::u32string_view num(a.Text);
    if (auto p = num.find(U'%'); p != std::u32string_view::npos && p + 1 == num.size()) {
        num.remove_suffix(1);
    }
    a.Number = IntOrZero(num);
    sy_ = saved;
}

void HtmlTokenizer::ReadNumericValue(TAttribute& a) {
    if (ch_ == U'+' || ch_ == U'-') {
        a.Text.push_back(ch_);
        NextChar();
    }
    while (!IsWhite(ch_) && ch_ != kEofChar && ch_ != U'%' && ch_ != U'>') {
        a.Text.push_back(uch_);
        const std::size_t from = a.Text.size();
        TakePlainRun(a.Text, [](char32_t c) { return c != U' ' && c != U'%' && c != U'>'; });
        for (std::size_t i = from; i < a.Text.size(); ++i) {
            if (a.Text[i] >= U'a' && a.Text[i] <= U'z') a.Text[i] -= 32;
        }
        NextChar();
    }
    SkipWhiteSpace();
    a.Number = IntOrZero(a.Text);
    if (ch_ == U'%') {
        a.Text.push_back(U'%');
        NextChar();
    }
}

void HtmlTokenizer::ReadBareValue(TAttribute& a) {
    while (!IsWhite(ch_) && ch_ != kEofChar && ch_ != U'>') {
        if (ch_ == U'&') {
            ReadEntity(a.Text, true);
            continue;
        }
        a.Text.push_back(ch_);
        TakePlainRun(a.Text, [](char32_t c) { return c != U' ' && c != U'>' && c != U'&'; });
        NextChar();
    }
}

// Named references follow HTML's rules: a name followed by ';' is looked up whole;
// otherwise the longest leading part that is one of the older names accepted without ';'
// is taken, and the characters after it read as text. In an attribute value such a name
// directly followed by '=' or a letter or digit stays literal ("?a=1&copy=2" in a URL).
void HtmlTokenizer::ReadEntity(std::u32string& out, bool in_attribute) {
    NextChar();  // past '&'
    if (ch_ == U'#') {
        ReadNumericReference(out);
        return;
    }
    entity_.clear();
    while (entity_.size() < kMaxEntityNameLength && IsAsciiAlnum(ch_)) {
        entity_.push_back(static_cast<char>(ch_));
        NextChar();
    }
    if (ch_ == U';') {
        if (const EntityEntry* e = FindEntity(entity_)) {
            NextChar();
            AppendEntity(out, *e);
            return;
        }
    }
    for (std::size_t n = std::min(entity_.size(), kMaxBareEntityNameLength); n >= 2; --n) {
        const EntityEntry* e = FindEntity(std::string_view(entity_).substr(0, n));
        if (!e || !(e->flags & kBare)) continue;
        const char32_t after = n < entity_.size() ? static_cast<char32_t>(entity_[n]) : ch_;
        if (in_attribute && (after == U'=' || IsAsciiAlnum(after))) break;
        AppendEntity(out, *e);
        out.append(entity_.begin() + static_cast<std::ptrdiff_t>(n), entity_.end());
        return;
    }
    out.push_back(U'&');
    out.append(entity_.begin(), entity_.end());
}

// Called at the '#'. Any number of digits is read; a value too large for Unicode gives the
// replacement character however many digits follow. Without digits the text is literal.
void HtmlTokenizer::ReadNumericReference(std::u32string& out) {
    NextChar();      // past '#'
    char32_t x = 0;  // the 'x' or 'X' of a hexadecimal reference
    if (ch_ == U'x' || ch_ == U'X') {
        x = ch_;
        NextChar();
    }
    const bool hex = x != 0;
    std::uint32_t v = 0;
    bool digits = false;
    while (hex ? IsHexDigit(ch_) : IsDigit(ch_)) {
        const std::uint32_t d = IsDigit(ch_) ? ch_ - U'0' : (ch_ | 0x20) - U'a' + 10;
        v = std::min(v * (hex ? 16 : 10) + d, kBeyondUnicode);  // no overflow: v stays small
        digits = true;
        NextChar();
    }
    if (!digits) {
        out += U"&#";
        if (hex) out.push_back(x);
        return;
    }
    if (ch_ == U';') NextChar();
    out.push_back(NumericCharacter(v));
}

void HtmlTokenizer::NextTextAreaSymbol() {
    token_.clear();
    if (ch_ == kEofChar) {
        sy_ = Symb::EofSy;
    } else if (ch_ == kEolChar) {
        sy_ = Symb::EolSy;
        NextChar();
    } else if (ch_ == U'<') {
        token_.push_back(U'<');
        NextChar();
        while (!IsWhite(ch_) && ch_ != U'>' && ch_ != kEofChar && token_.size() < kMaxTagText) {
            token_.push_back(ch_);
            NextChar();
        }
        sy_ = Symb::OtherSy;
        if (token_.size() == 10) {
            std::string lower;
            for (char32_t c : token_)
                lower.push_back(c < 128 ? text::AsciiLower(static_cast<char>(c)) : '?');
            if (lower == "</textarea") sy_ = Symb::TextAreaEndSy;
        }
    } else {
        while (token_.size() < kMaxTextRun && ch_ != kEolChar && ch_ != kEofChar && ch_ != U'<') {
            token_.push_back(ch_);
            NextChar();
        }
        sy_ = Symb::TextSy;
    }
}

}  // namespace quillon
