// The text dump of a document: one line per block, runs, images, controls, tables,
// forms and maps, and escapes.
#include <gtest/gtest.h>

#include "html/dump/section_dump.h"
#include "html/layout/form_controls.h"
#include "html/layout/html_table.h"
#include "html/layout/list_item.h"
#include "html/layout/section_list.h"
#include "html/layout/spacer_sections.h"
#include "tests/html_layout/model_test_support.h"

namespace quillon {
namespace {

using testing::Attr;
using testing::Attrs;

TMyFont Font(const TSectionList& doc) {
    TMyFont f;
    f.Name = doc.BaseFontName();
    f.SetNormalSize(doc, 12);
    return f;
}

TEST(SectionDump, TextRunsImagesAndControls) {
    TSectionList doc;
    auto s = std::make_unique<TSection>(doc, 0, Font(doc), nullptr, JustifyType::Left);
    s->AddText(U"Hello ");
    s->ChangeStyle(Symb::BSy);
    s->AddText(U"big \"world\"");
    TUrlTarget link;
    link.Assign("a.htm", "_top");
    TMyFont link_font = Font(doc);
    link_font.FontColor = doc.LinkColor();
    s->HRef(Symb::ASy, link, link_font, {});
    s->AddImage(Attrs({Attr(Symb::SrcSy, "x.gif"), Attr(Symb::WidthSy, "50%"),
                       Attr(Symb::AlignSy, "left"), Attr(Symb::AltSy, "X")}),
                &doc);
    s->HRef(Symb::AEndSy, link, Font(doc), {});
    ThtmlForm* form = nullptr;
    s->AddFormControl(Symb::InputSy, Attrs({Attr(Symb::NameSy, "q")}), &doc, form);
    s->AddText(U"\ttab\u00E9");
    doc.Add(std::move(s));
    EXPECT_EQ(DumpSections(doc),
              "section: {12} \"Hello \" {12 B} \"big \\\"world\\\"\" {12 href=\"a.htm\" "
              "target=\"_top\"} [img \"x.gif\" width=50% left alt=\"X\"] {12} [edit \"q\"] "
              "\"\\ttab\u00E9\"\n");
}

TEST(SectionDump, BlockKinds) {
    TSectionList doc;
    TMyFont fixed = Font(doc);
    fixed.FixedPitch = true;
    fixed.Name = doc.FixedFontName();
    fixed.NominalSize = 10;
    auto pre = std::make_unique<TPreFormated>(doc, 0, fixed, nullptr);
    pre->AddText(U"  code");
    doc.Add(std::move(pre));
    doc.Add(std::make_unique<TParagraphSpace>(doc));
    doc.Add(std::make_unique<THeadingSpace>(doc, 2));
    auto ol =
        std::make_unique<TOListItem>(doc, 1, 3, U'a', Font(doc), nullptr, JustifyType::Centered);
    ol->AddText(U"item");
    doc.Add(std::move(ol));
    auto ul = std::make_unique<TUListItem>(doc, 2, Font(doc), nullptr, JustifyType::Left);
    ul->Plain = true;
    doc.Add(std::move(ul));
    doc.Add(std::make_unique<TDListItem>(doc, 1, Font(doc), nullptr, JustifyType::Right));
    auto br = std::make_unique<TSection>(doc, 0, Font(doc), nullptr, JustifyType::Left);
    br->BreakInfo();
    br->DoClearAttribute(Attrs({Attr(Symb::ClearSy, "all")}));
    doc.Add(std::move(br));
    doc.Add(std::make_unique<THorzLine>(
        doc,
        Attrs({Attr(Symb::SizeSy, "4"), Attr(Symb::WidthSy, "200"), Attr(Symb::ColorSy, "lime")})));
    doc.Add(std::make_unique<TPage>(doc));
    EXPECT_EQ(DumpSections(doc),
              "pre: {fixed 10} \"  code\"\n"
              "space h=14\n"
              "heading-space 2 h=12\n"
              "ol 3 a level=1 align=center: {12} \"item\"\n"
              "ul plain level=2: {12}\n"
              "dl level=1 align=right: {12}\n"
              "section clear=all: {12} \" \"\n"
              "rule size=4 width=200 color=#00FF00 h=22\n"
              "page\n");
}

TEST(SectionDump, FontDetails) {
    TSectionList doc;
    TMyFont f = Font(doc);
    f.Name = "Arial";
    f.FontColor = 0x800000;
    f.Style = fsItalic | fsStrikeOut;
    auto s = std::make_unique<TSection>(doc, 0, f, nullptr, JustifyType::Left);
    s->AddText(U"x");
    s->ChangeFont(Font(doc), TextStyleState{fsUnderline, SubSuperType::SupSc});
    s->AddText(U"2");
    doc.Add(std::move(s));
    EXPECT_EQ(DumpSections(doc), "section: {\"Arial\" 12 I S #800000} \"x\" {9 U sup} \"2\"\n");
}

TEST(SectionDump, TablesNestCellsAndCaptions) {
    TSectionList doc;
    auto t = std::make_unique<ThtmlTable>(
        doc, Attrs({Attr(Symb::BorderSy), Attr(Symb::WidthSy, "80%"), Attr(Symb::AlignSy, "left")}),
        JustifyType::Left, &doc, 0);
    auto& row = t->AddRow(std::make_unique<TCellList>(Attrs({Attr(Symb::BGColorSy, "red")})));
    auto& cell = row.Add(std::make_unique<TCellObj>(
        doc, AlignmentType::Top, Attrs({Attr(Symb::ColSpanSy, "2"), Attr(Symb::WidthSy, "30")})));
    auto text = std::make_unique<TSection>(doc, 0, Font(doc), nullptr, JustifyType::Left);
    text->AddText(U"in cell");
    cell.Body.Add(std::move(text));
    auto& placeholder = row.Add(std::make_unique<TCellObj>(doc, AlignmentType::Middle));
    placeholder.SpanCols = 0;
    auto caption = std::make_unique<TSection>(doc, 0, Font(doc), nullptr, JustifyType::Centered);
    caption->AddText(U"Caption");
    t->CaptionCell->Body.Add(std::move(caption));
    doc.Add(std::move(t));
    EXPECT_EQ(DumpSections(doc),
              "table border padding=2 spacing=3 width=80% float=left\n"
              "  caption top\n"
              "    section align=center: {12} \"Caption\"\n"
              "  row bgcolor=#FF0000\n"
              "    cell span=2x1 width=30 valign=top\n"
              "      section: {12} \"in cell\"\n"
              "    cell placeholder\n");
}

TEST(SectionDump, DocumentWithFormsAndMaps) {
    TSectionList doc;
    doc.SetFonts("Verdana", "Courier New", 10, 0x000000, 0x0000FF, 0xFFFFF0);
    doc.SetBackgroundBitmap("back.gif");
    auto s = std::make_unique<TSection>(doc, 0, Font(doc), nullptr, JustifyType::Left);
    ThtmlForm* form =
        &ThtmlForm::Create(doc, Attrs({Attr(Symb::MethodSy, "post"), Attr(Symb::ActionSy, "/q")}));
    auto input = [&](const char* type, std::initializer_list<TAttribute> more) -> TFormControlObj& {
        TAttributeList attrs = Attrs(more);
        attrs.Add(Attr(Symb::TypeSy, type));
        return s->AddFormControl(Symb::InputSy, attrs, &doc, form);
    };
    input("text",
          {Attr(Symb::NameSy, "q"), Attr(Symb::ValueSy, "v"), Attr(Symb::MaxLengthSy, "9")});
    input("checkbox", {Attr(Symb::NameSy, "c"), Attr(Symb::CheckedSy)});
    input("radio", {Attr(Symb::NameSy, "r"), Attr(Symb::ValueSy, "1")});
    input("submit", {});
    input("hidden", {Attr(Symb::NameSy, "h"), Attr(Symb::ValueSy, "x")});
    input("image", {Attr(Symb::NameSy, "i"), Attr(Symb::SrcSy, "go.gif")});
    auto& select = dynamic_cast<TSelectFormControlObj&>(s->AddFormControl(
        Symb::SelectSy,
        Attrs({Attr(Symb::NameSy, "s"), Attr(Symb::MultipleSy), Attr(Symb::SizeSy, "3")}), &doc,
        form));
    select.AddStr("one", "1", true);
    select.AddStr("two", "", false);
    auto& area = dynamic_cast<TTextAreaFormControlObj&>(
        s->AddFormControl(Symb::TextAreaSy, Attrs({Attr(Symb::NameSy, "t")}), &doc, form));
    area.AddStr("first");
    form = nullptr;
    input("password", {Attr(Symb::NameSy, "p")});
    doc.Add(std::move(s));
    auto map = std::make_unique<TMapItem>("nav");
    map->AddArea(Attrs(
        {Attr(Symb::CoordsSy, "0,0,5,5"), Attr(Symb::HrefSy, "a.htm"), Attr(Symb::TargetSy, "f")}));
    map->AddArea(Attrs(
        {Attr(Symb::ShapeSy, "circle"), Attr(Symb::CoordsSy, "9,9,3"), Attr(Symb::NoHrefSy)}));
    doc.AddImageMap(std::move(map));
    const std::string dump = DumpDocument(doc);
    EXPECT_EQ(dump,
              "document base=\"Verdana\" fixed=\"Courier New\" size=10 text=#000000 "
              "link=#0000FF background=#FFFFF0 background-image=\"back.gif\"\n"
              "section: {12} [edit \"q\"] [checkbox \"c\"] [radio \"r\"] [submit \"\"] "
              "[hidden \"h\"] [img \"go.gif\"] [image \"i\"] [listbox \"s\"] [textarea \"t\"] "
              "[password \"p\"]\n"
              "form method=post action=\"/q\"\n"
              "  edit name=\"q\" value=\"v\" size=20 maxlength=9\n"
              "  checkbox name=\"c\" value=\"On\" checked\n"
              "  radio name=\"r\" value=\"1\"\n"
              "  submit name=\"\" caption=\"Submit\"\n"
              "  hidden name=\"h\" value=\"x\"\n"
              "  image name=\"i\" src=\"go.gif\"\n"
              "  listbox name=\"s\" multiple size=3\n"
              "    option \"one\" value=\"1\" selected\n"
              "    option \"two\"\n"
              "  textarea name=\"t\" rows=5 cols=30\n"
              "    line \"first\"\n"
              "form method=Get implicit\n"
              "  password name=\"p\" value=\"\" size=20\n"
              "map \"NAV\"\n"
              "  area rect 0,0,5,5 href=\"a.htm\" target=\"f\"\n"
              "  area circle 9,9,3 nohref\n");
}

TEST(SectionDump, ControlCharactersAreEscaped) {
    TSectionList doc;
    auto s = std::make_unique<TPreFormated>(doc, 0, Font(doc), nullptr);
    s->AddText(U"a\\b\r\n\x01\x85");
    doc.Add(std::move(s));
    EXPECT_EQ(DumpSections(doc), "pre: {12} \"a\\\\b\\r\\n\\u{1}\\u{85}\"\n");
}

}  // namespace
}  // namespace quillon
