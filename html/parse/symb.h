#pragma once
// The symbols of the HTML tokenizer: every tag, attribute and token kind it knows, in a
// fixed order (the ordinal is used for symbol sets), plus a small bit set over them.
// The README's glossary of inherited names explains this and its neighbours.

#include <array>
#include <cstdint>
#include <initializer_list>

namespace quillon {

// clang-format off
enum class Symb : std::uint8_t {
    HtmlSy, TitleSy, BodySy, HeadSy, PSy, PEndSy, BSy, BEndSy, ISy, IEndSy,
    HtmlEndSy, TitleEndSy, BodyEndSy, HeadEndSy, BRSy, HeadingSy, HeadingEndSy, EmSy, EmEndSy,
    StrongSy, StrongEndSy, USy, UEndSy, HRSy, CiteSy, VarSy, CiteEndSy, VarEndSy, BaseSy, TTSy,
    CodeSy, KbdSy, SampSy, TTEndSy, CodeEndSy, KbdEndSy, SampEndSy, OLSy, OLEndSy, LISy, ULSy,
    ULEndSy, DirSy, DirEndSy, MenuSy, MenuEndSy, DLSy, DLEndSy, DDSy, DTSy, AddressSy,
    AddressEndSy, BlockQuoteSy, BlockQuoteEndSy, PreSy, PreEndSy, ImageSy, Centersy,
    CenterEndSy, OtherAttribute, ASy, AEndSy, HrefSy, NameSy, SrcSy, AltSy, AlignSy, OtherChar,
    OtherSy, CommandSy, TextSy, EofSy, LinkSy, BGColorSy, BackgroundSy, TableSy, TableEndSy,
    TDSy, TDEndSy, TRSy, TREndSy, THSy, THEndSy, ColSpanSy, RowSpanSy, BorderSy, CellPaddingSy,
    CellSpacingSy, VAlignSy, WidthSy, CaptionSy, CaptionEndSy, StartSy, ButtonSy, InputSy,
    ValueSy, TypeSy, CheckBoxSy, RadioSy, FormSy, FormEndSy, MethodSy, ActionSy, CheckedSy,
    SizeSy, MaxLengthSy, TextAreaSy, TextAreaEndSy, ColsSy, RowsSy, SelectSy, SelectEndSy,
    OptionSy, OptionEndSy, SelectedSy, MultipleSy, FontSy, FontEndSy, ColorSy, FaceSy,
    BaseFontSy, TranspSy, SubSy, SubEndSy, SupSy, SupEndSy, ClearSy, IsMapSy, BigSy, BigEndSy,
    SmallSy, SmallEndSy, BorderColorSy, MapSy, MapEndSy, AreaSy, ShapeSy, CoordsSy, NoHrefSy,
    UseMapSy, HeightSy, PlainSy, FrameSetSy, FrameSetEndSy, FrameSy, TargetSy, NoFramesSy,
    NoFramesEndSy, NoResizeSy, ScrollingSy, PageSy, HSpaceSy, ScriptSy, ScriptEndSy,
    LanguageSy, DivSy, DivEndSy, SSy, SEndSy, StrikeSy, StrikeEndSy, FrameBorderSy,
    MarginWidthSy, MarginHeightSy, THeadSy, THeadEndSy, TBodySy, TBodyEndSy, TFootSy,
    TFootEndSy, EolSy, StyleSy, StyleEndSy, TemplateSy, TemplateEndSy, ColGroupSy,
    ColGroupEndSy, ColSy, SpanSy, ClassSy, IdSy
};
// clang-format on

inline constexpr int kSymbCount = static_cast<int>(Symb::IdSy) + 1;
static_assert(kSymbCount == 181 && kSymbCount <= 192);

// A set of symbols (a bit per ordinal).
class SymbSet {
  public:
    constexpr SymbSet() = default;
    constexpr SymbSet(std::initializer_list<Symb> symbols) {
        for (Symb s : symbols) Add(s);
    }
    constexpr bool Contains(Symb s) const {
        const auto i = static_cast<unsigned>(s);
        return (bits_[i / 64] >> (i % 64)) & 1U;
    }
    constexpr void Add(Symb s) {
        const auto i = static_cast<unsigned>(s);
        bits_[i / 64] |= std::uint64_t{1} << (i % 64);
    }
    constexpr SymbSet operator+(const SymbSet& o) const {
        SymbSet r;
        for (std::size_t i = 0; i < bits_.size(); ++i) r.bits_[i] = bits_[i] | o.bits_[i];
        return r;
    }
    constexpr bool Empty() const { return (bits_[0] | bits_[1] | bits_[2]) == 0; }

  private:
    std::array<std::uint64_t, 3> bits_{};
};

}  // namespace quillon
