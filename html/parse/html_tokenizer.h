#pragma once
// The HTML tokenizer: reads characters from a source, normalises line ends and tabs,
// removes comments and declarations, and delivers tags with their attributes, decoded
// entities and runs of text as symbols. The text of SCRIPT and STYLE is read whole with
// their start tag and never delivered (the text of STYLE elements is kept, see
// StyleSheet()); a TEMPLATE is read whole up to its end tag and stands for nothing. One tokenizer
// reads one document; the parser drives it and may read characters directly (preformatted text,
// text areas).

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "html/parse/html_attribute.h"
#include "html/parse/html_decoder.h"
#include "html/parse/html_source.h"
#include "html/parse/symb.h"

namespace quillon {

// Special characters of the character stream.
inline constexpr char32_t kEofChar = 26;  // Ctrl-Z: end of input in every kind of source
inline constexpr char32_t kEolChar = 13;  // every line end reads as one carriage return

class HtmlTokenizer {
  public:
    // Reads `source`, `chunk` bytes at a time. Call NextChar() once before the first
    // NextSymbol() so that a current character exists.
    explicit HtmlTokenizer(std::unique_ptr<ByteSource> source, std::size_t chunk = 65536);

    LoadStyleType SourceKind() const { return decoder_.Kind(); }
    text::TextEncoding Encoding() const { return decoder_.Encoding(); }

    // The next character of the source as decoded; kEofChar at (and after) the end.
    char32_t NextSourceChar() {
        if (pos_ < len_) {
            const char32_t c = buf_[pos_++];
            if (c != kEofChar) return c;
            ended_ = true;
        }
        return Refill();
    }
    // The next character with line ends folded to kEolChar and tabs to spaces. Raises
    // EParseError when the input ends inside a comment or declaration.
    void NextBasicChar() {
        if (pos_ < len_ && buf_[pos_] >= 32) {
            SetChar(buf_[pos_++]);  // fast path: an ordinary buffered character
            return;
        }
        NextBasicCharSlow();
    }
    // NextBasicChar, with comments and declarations removed.
    void NextChar() {
        if (pos_ < len_ && buf_[pos_] >= 32 && buf_[pos_] != U'<') {
            SetChar(buf_[pos_++]);
            return;
        }
        NextCharSlow();
    }
    // Reads one token.
    void NextSymbol();
    // The raw scanner for TEXTAREA contents.
    void NextTextAreaSymbol();
    // Advances while the current character is a space or a line end.
    void SkipWhiteSpace() {
        while (ch_ == U' ' || ch_ == kEolChar) NextChar();
    }

    // Reads the tag that starts at the current '<' (for readers that scan characters).
    void ReadTag();
    // Reads the character reference that starts at the current '&' and appends its text to
    // `out`; `in_attribute` applies the rule for names without ';' in attribute values.
    void ReadEntity(std::u32string& out, bool in_attribute = false);

    // The text of the STYLE elements read so far (outside templates), one after another,
    // each ended by a line end ('\n').
    const std::u32string& StyleSheet() const { return style_sheet_; }
    // The parts of StyleSheet() whose STYLE element has a MEDIA list, in order.
    struct StyleMedia {
        std::size_t begin = 0;
        std::size_t end = 0;
        std::string media;
    };
    const std::vector<StyleMedia>& StyleSheetMedia() const { return style_media_; }

    // Current state.
    Symb Sy() const { return sy_; }
    char32_t LCh() const { return ch_; }      // the current character
    char32_t LCUpCh() const { return uch_; }  // it upper-cased (a-z only)
    const std::u32string& LCToken() const { return token_; }
    int TagValue() const { return tag_value_; }  // heading level 0..6
    // The name of the tag just read, upper case, a heading with its digit ("H2"); empty when
    // the symbol is no tag (or the '<' began no name). Unknown tags (OtherSy) are told apart
    // by it.
    std::string_view TagName() const {
        const bool tag = sy_ != Symb::TextSy && sy_ != Symb::OtherChar && sy_ != Symb::EofSy;
        return tag ? std::string_view(tag_name_.data(), tag_len_) : std::string_view();
    }
    bool EndTag() const { return end_tag_; }
    // Whether the document has shown any sign of style so far: a STYLE element, a STYLE
    // attribute or a LINK element. Until then the parser keeps no element tree.
    bool StyleHint() const { return style_hint_; }
    // Whether attributes keep their names (for style sheets that select by any attribute);
    // off by default, as only their symbols are needed otherwise.
    void KeepAttributeNames(bool on) { keep_names_ = on; }
    const TAttributeList& Attributes() const { return attributes_; }
    bool Preformatted() const { return preformatted_; }
    void SetPreformatted(bool on) { preformatted_ = on; }
    bool InComment() const { return in_comment_; }

  private:
    char32_t Refill();
    void SetChar(char32_t c) {
        ch_ = c;
        uch_ = (c >= U'a' && c <= U'z') ? c - 32 : c;
    }
    void NextBasicCharSlow();
    void NextCharSlow();
    // Puts back `c`, the character NextSourceChar() has just returned: it is still in the
    // buffer just before pos_, or it is the end of input, which reads again anyway.
    void Unread(char32_t c) {
        if (c != kEofChar) --pos_;
    }
    void SkipCommentOrDeclaration();
    void ReadRawText(std::string_view upper_name, std::u32string* keep);
    void SkipTemplate();
    void ReadNumericReference(std::u32string& out);
    void ReadTextRun();
    bool ReadAttribute(TAttribute& a);
    void ReadQuotedValue(TAttribute& a);
    void ReadNumericValue(TAttribute& a);
    void ReadBareValue(TAttribute& a);
    // Collects a name (upper case) into `storage`, which holds at least kMaxName characters.
    template <bool kAttribute>
    std::string_view CollectName(std::string& storage);
    void NoteUnknownTag();
    template <class Take>
    void TakePlainRun(std::u32string& out, Take take);

    InputDecoder decoder_;
    std::size_t buf_size_;
    std::unique_ptr<char32_t[]> buf_;  // decoded characters [pos_, len_) not yet read
    std::size_t pos_ = 0;
    std::size_t len_ = 0;
    bool ended_ = false;

    char32_t ch_ = 0;
    char32_t uch_ = 0;

    Symb sy_ = Symb::OtherSy;
    std::u32string token_;
    int tag_value_ = 0;
    TAttributeList attributes_;
    TAttribute scratch_;  // attributes of tags that keep none
    std::string name_;    // the last name read (its storage; CollectName gives its length)
    std::string entity_;  // the name of the character reference being read
    std::u32string style_sheet_;
    std::vector<StyleMedia> style_media_;
    std::string tag_name_;  // the last tag's name (storage, with room for a heading's digit)
    std::size_t tag_len_ = 0;
    bool end_tag_ = false;
    bool style_hint_ = false;
    bool keep_names_ = false;
    bool preformatted_ = false;
    bool in_comment_ = false;
    bool in_template_ = false;
};

}  // namespace quillon
