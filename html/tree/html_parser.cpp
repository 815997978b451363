#include "html/tree/html_parser.h"

#include <filesystem>

#include "html/layout/attribute_access.h"
#include "html/layout/cell.h"
#include "html/layout/section_list.h"
#include "html/parse/html_source.h"
#include "html/tree/html_parser_state.h"
#include "html/tree/style_tracker.h"
#include "platform/core/text_encoding.h"

namespace quillon {

HtmlParser::HtmlParser(TSectionList& doc, TNameList& names, std::unique_ptr<ByteSource> source,
                       std::string base_dir, css::Medium medium)
    : doc_(doc),
      names_(names),
      tok_(std::move(source)),
      base_dir_(std::move(base_dir)),
      medium_(medium) {}

HtmlParser::~HtmlParser() = default;

JustifyType AlignAttribute(const TAttributeList& attrs, JustifyType dflt) {
    return AttrKeyword<JustifyType>(attrs, Symb::AlignSy,
                                    {{"left", JustifyType::Left},
                                     {"center", JustifyType::Centered},
                                     {"right", JustifyType::Right}})
        .value_or(dflt);
}

THtmlParseResult HtmlParser::Guarded(const std::function<void()>& parse) {
    // What a parse changes outside the sections, restored when it fails.
    const Color text = doc_.TextColor(), link = doc_.LinkColor(), back = doc_.Background();
    const std::string back_image = doc_.BackgroundImageName();
    const std::size_t name_count = names_.size();
    try {
        parse();
    } catch (...) {
        section_.reset();
        doc_.Clear();
        doc_.SetTextColor(text);
        doc_.SetLinkColor(link);
        if (doc_.Background() != back) doc_.SetBackground(back);
        if (doc_.BackgroundImageName() != back_image) doc_.SetBackgroundBitmap(back_image);
        names_.resize(name_count);
        throw;
    }
    result_.Title = text::ToUtf8(title_);
    result_.StyleSheet = text::ToUtf8(tok_.StyleSheet());
    return result_;
}

void HtmlParser::InitState() {
    TMyFont base;
    base.Name = doc_.BaseFontName();
    base.FontColor = doc_.TextColor();
    base.CharSet = doc_.CharSet();
    base.SetNormalSize(doc_, 12);
    fonts_.assign(1, base);
    fonts_.reserve(kMaxFonts + 1);
    cell_ = &doc_;
    justify_ = JustifyType::Left;
    StartSection(0, justify_);
}

THtmlParseResult HtmlParser::ParseHtml() {
    return Guarded([this] {
        InitState();
        tok_.NextChar();
        Next();
        Body(0, SymbSet{});
        CloseAllStyled();
        AddSection();
        if (styles_) {
            result_.Page = ReadPageSetup(styles_->PageRules());
            result_.DependsOnMedium = styles_->DependsOnMedium();
        }
    });
}

// Sections ---------------------------------------------------------------------------

void HtmlParser::StartSection(int level, JustifyType align) {
    section_ = std::make_unique<TSection>(doc_, level, EffectiveFont(), in_link_ ? &link_ : nullptr,
                                          align, EffectiveStyle());
    section_named_ = false;
    if (styles_) StyleSection(*section_);
}

void HtmlParser::StartPreSection(int level) {
    section_ = std::make_unique<TPreFormated>(doc_, level, EffectiveFont(),
                                              in_link_ ? &link_ : nullptr, EffectiveStyle());
    section_named_ = false;
    if (styles_) StyleSection(*section_);
}

// Adds the current section to the current cell. A plain section that ended up with no
// text, no CLEAR and no name is dropped: it would have no height and no content, and
// leaving it out keeps runs of tags (P after BR, H1 at the start) from leaving empty
// blocks behind.
void HtmlParser::AddSection() {
    if (!section_) return;
    std::unique_ptr<TSection> s = std::move(section_);
    const TSection& section = *s;
    const bool plain = typeid(section) == typeid(TSection);
    if (plain && s->CharCount() == 0 && s->ClearMode == ClearAttrType::clrNone && !section_named_) {
        return;
    }
    cell_->Add(std::move(s));
}

// BODY applies while nothing has been produced: no section in the cell, and the current
// one holds no text (text typed before BODY is kept) and no name.
bool HtmlParser::NothingProduced() const {
    return cell_ == &doc_ && doc_.Empty() &&
           (!section_ || (section_->CharCount() == 0 && !section_named_));
}

// Fonts ------------------------------------------------------------------------------

bool HtmlParser::PushFont() {
    if (fonts_.size() > kMaxFonts) return false;
    fonts_.push_back(fonts_.back());
    return true;
}

void HtmlParser::PopFont() {
    if (fonts_.size() > 1) fonts_.pop_back();
}

void HtmlParser::PopFontsTo(std::size_t depth) {
    while (fonts_.size() > depth && fonts_.size() > 1) fonts_.pop_back();
}

void HtmlParser::ChangeFont() {
    if (section_) section_->ChangeFont(EffectiveFont(), EffectiveStyle());
}

void HtmlParser::SetFixedPitch(TMyFont& font, int nominal) {
    font.Name = doc_.FixedFontName();
    font.FixedPitch = true;
    font.SetNormalSize(doc_, nominal);
}

// Links ------------------------------------------------------------------------------

void HtmlParser::OpenLink(const TAttribute& href) {
    CloseLink();
    const TAttribute* target = Attrs().Find(Symb::TargetSy);
    link_.Assign(href.TextUtf8(), target ? target->TextUtf8() : std::string());
    in_link_ = true;
    link_pushed_ = PushFont();
    if (link_pushed_) {
        Top().Style |= fsUnderline;
        Top().FontColor = doc_.LinkColor();
    }
    if (section_) section_->HRef(Symb::ASy, link_, EffectiveFont(), EffectiveStyle());
}

void HtmlParser::CloseLink() {
    if (in_link_) {
        link_.Clear();
        in_link_ = false;
        if (link_pushed_) PopFont();
        link_pushed_ = false;
    }
    if (section_) section_->HRef(Symb::AEndSy, link_, EffectiveFont(), EffectiveStyle());
}

// Entry points -----------------------------------------------------------------------

namespace {

THtmlParseResult RunHtml(TSectionList& doc, TNameList& names, std::unique_ptr<ByteSource> src,
                         css::Medium medium, std::string base_dir = {}) {
    HtmlParser parser(doc, names, std::move(src), std::move(base_dir), medium);
    return parser.ParseHtml();
}

THtmlParseResult RunText(TSectionList& doc, TNameList& names, std::unique_ptr<ByteSource> src) {
    HtmlParser parser(doc, names, std::move(src));
    return parser.ParseText();
}

}  // namespace

THtmlParseResult HtmlParseFile(TSectionList& doc, TNameList& names, const std::string& path,
                               css::Medium medium) {
    return RunHtml(doc, names, MakeFileSource(path), medium,
                   std::filesystem::path(path).parent_path().string());
}
THtmlParseResult HtmlParseBuffer(TSectionList& doc, TNameList& names, std::string_view buffer,
                                 css::Medium medium, std::string base_dir) {
    return RunHtml(doc, names, MakeBufferSource(buffer), medium, std::move(base_dir));
}
THtmlParseResult HtmlParseStrings(TSectionList& doc, TNameList& names,
                                  const std::vector<std::string>& lines, css::Medium medium) {
    return RunHtml(doc, names, MakeStringsSource(lines), medium);
}
THtmlParseResult HtmlParseStream(TSectionList& doc, TNameList& names, std::istream& in,
                                 css::Medium medium) {
    return RunHtml(doc, names, MakeStreamSource(in), medium);
}
THtmlParseResult HtmlParseTextFile(TSectionList& doc, TNameList& names, const std::string& path) {
    return RunText(doc, names, MakeFileSource(path));
}
THtmlParseResult HtmlParseTextStrings(TSectionList& doc, TNameList& names,
                                      const std::vector<std::string>& lines) {
    return RunText(doc, names, MakeStringsSource(lines));
}

}  // namespace quillon
