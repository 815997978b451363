// Images read from IMG attributes, and client-side image maps with their area tests.
#include <gtest/gtest.h>

#include "html/layout/image_obj.h"
#include "html/layout/map_item.h"
#include "html/layout/section_list.h"
#include "tests/html_layout/model_test_support.h"

namespace quillon {
namespace {

using testing::Attr;
using testing::Attrs;

TEST(Images, Defaults) {
    TImageObj img(3, Attrs({Attr(Symb::SrcSy, "pic.gif")}), nullptr);
    EXPECT_EQ(img.CharPos, 3);
    EXPECT_EQ(img.SourceName, "pic.gif");
    EXPECT_EQ(img.WidthValue, -1);
    EXPECT_EQ(img.HeightValue, -1);
    EXPECT_EQ(img.Placement, AlignmentType::Bottom);
    EXPECT_FALSE(img.Floating());
    EXPECT_FALSE(img.Borderless);
    EXPECT_FALSE(img.ClientMap);
    EXPECT_EQ(img.SideSpace, 5);
}

TEST(Images, Attributes) {
    TImageObj img(
        0,
        Attrs({Attr(Symb::SrcSy, "a b.png"), Attr(Symb::AltSy, "Bild \xC3\xA4"),
               Attr(Symb::WidthSy, "40%"), Attr(Symb::HeightSy, "30"),
               Attr(Symb::AlignSy, "absmiddle"), Attr(Symb::BorderSy, "0"), Attr(Symb::TranspSy),
               Attr(Symb::IsMapSy), Attr(Symb::UseMapSy, " #nav "), Attr(Symb::HSpaceSy, "12")}),
        nullptr);
    EXPECT_EQ(img.SourceName, "a b.png");
    EXPECT_EQ(img.AltText, U"Bild \u00E4");
    EXPECT_EQ(img.WidthValue, 40);
    EXPECT_TRUE(img.WidthIsPercent);
    EXPECT_EQ(img.HeightValue, 30);
    EXPECT_EQ(img.Placement, AlignmentType::Middle);
    EXPECT_TRUE(img.Borderless);
    EXPECT_TRUE(img.TranspRequest);
    EXPECT_TRUE(img.ServerMap);
    EXPECT_TRUE(img.ClientMap);
    EXPECT_EQ(img.ClientMapName, "NAV");
    EXPECT_EQ(img.SideSpace, 12);
}

TEST(Images, PlacementsAndLimits) {
    auto placement = [](const char* align) {
        return TImageObj(0, Attrs({Attr(Symb::AlignSy, align)}), nullptr).Placement;
    };
    EXPECT_EQ(placement("top"), AlignmentType::Top);
    EXPECT_EQ(placement("MIDDLE"), AlignmentType::Middle);
    EXPECT_EQ(placement("left"), AlignmentType::ALeft);
    EXPECT_EQ(placement("right"), AlignmentType::ARight);
    EXPECT_EQ(placement("baseline"), AlignmentType::Bottom);

    TImageObj odd(0,
                  Attrs({Attr(Symb::WidthSy, "0%"), Attr(Symb::HeightSy, "-5"),
                         Attr(Symb::UseMapSy, "#"), Attr(Symb::HSpaceSy, "-2147483648")}),
                  nullptr);
    EXPECT_EQ(odd.WidthValue, -1);
    EXPECT_EQ(odd.HeightValue, 0);
    EXPECT_EQ(odd.ClientMapName, "#");
    EXPECT_EQ(odd.SideSpace, 20);
    EXPECT_TRUE(TImageObj(0, Attrs({Attr(Symb::AlignSy, "right")}), nullptr).Floating());
}

TMapItem NavMap() {
    TMapItem map("nav");
    map.AddArea(Attrs({Attr(Symb::ShapeSy, "RECT"), Attr(Symb::CoordsSy, "0,0,10,10"),
                       Attr(Symb::HrefSy, "a.htm"), Attr(Symb::TargetSy, "main")}));
    map.AddArea(Attrs({Attr(Symb::ShapeSy, "circle"), Attr(Symb::CoordsSy, "30, 30, 5"),
                       Attr(Symb::HrefSy, "b.htm")}));
    map.AddArea(Attrs({Attr(Symb::ShapeSy, "polygon"), Attr(Symb::CoordsSy, "50,0,60,20,40,20"),
                       Attr(Symb::HrefSy, "c.htm")}));
    return map;
}

TEST(ImageMaps, AreasContainTheirPoints) {
    const TMapItem map = NavMap();
    EXPECT_EQ(map.MapKey(), "NAV");
    ASSERT_EQ(map.Areas().size(), 3u);
    auto url = [&](int x, int y) {
        const auto link = map.GetURL(x, y);
        return link ? link->URL + "|" + link->Target : std::string("-");
    };
    EXPECT_EQ(url(0, 0), "a.htm|main");
    EXPECT_EQ(url(10, 10), "a.htm|main");  // edges are inside
    EXPECT_EQ(url(11, 10), "-");
    EXPECT_EQ(url(30, 25), "b.htm|");
    EXPECT_EQ(url(34, 34), "-");
    EXPECT_EQ(url(50, 10), "c.htm|");
    EXPECT_EQ(url(42, 2), "-");
}

TEST(ImageMaps, NoHrefHidesTheAreasBehindIt) {
    TMapItem map("m");
    map.AddArea(Attrs(
        {Attr(Symb::CoordsSy, "0,0,20,20"), Attr(Symb::HrefSy, "x.htm"), Attr(Symb::NoHrefSy)}));
    map.AddArea(Attrs({Attr(Symb::CoordsSy, "0,0,40,40"), Attr(Symb::HrefSy, "y.htm")}));
    EXPECT_FALSE(map.GetURL(5, 5).has_value());
    EXPECT_EQ(map.GetURL(30, 30)->URL, "y.htm");
}

TEST(ImageMaps, AreasWithTooFewCoordinatesAreDropped) {
    TMapItem map("m");
    map.AddArea(Attrs({Attr(Symb::CoordsSy, "1,2,3"), Attr(Symb::HrefSy, "r")}));
    map.AddArea(
        Attrs({Attr(Symb::ShapeSy, "circ"), Attr(Symb::CoordsSy, "1,2"), Attr(Symb::HrefSy, "c")}));
    map.AddArea(Attrs(
        {Attr(Symb::ShapeSy, "poly"), Attr(Symb::CoordsSy, "1,2,3,4,5"), Attr(Symb::HrefSy, "p")}));
    map.AddArea(Attrs({Attr(Symb::HrefSy, "none")}));
    EXPECT_TRUE(map.Areas().empty());
    // Bad numbers read as 0; reversed corners still make a rectangle.
    map.AddArea(Attrs({Attr(Symb::CoordsSy, "x,y,10,10"), Attr(Symb::HrefSy, "ok")}));
    map.AddArea(Attrs({Attr(Symb::CoordsSy, "40,40,20,20"), Attr(Symb::HrefSy, "rev")}));
    EXPECT_EQ(map.GetURL(0, 0)->URL, "ok");
    EXPECT_EQ(map.GetURL(30, 30)->URL, "rev");
}

TEST(ImageMaps, AStarPolygonFollowsTheWindingRule) {
    // A five-pointed star drawn in one stroke: its centre pentagon is wound twice, so the
    // even-odd rule would leave it out; the winding rule keeps it in.
    TMapItem map("star");
    map.AddArea(Attrs({Attr(Symb::ShapeSy, "POLYGON"),
                       Attr(Symb::CoordsSy, "50,0, 79,90, 2,35, 98,35, 21,90"),
                       Attr(Symb::HrefSy, "star.htm")}));
    ASSERT_EQ(map.Areas().size(), 1u);
    auto hit = [&](int x, int y) { return map.GetURL(x, y).has_value(); };
    EXPECT_TRUE(hit(50, 50));   // the centre
    EXPECT_TRUE(hit(50, 10));   // the top point
    EXPECT_TRUE(hit(10, 37));   // the left point
    EXPECT_TRUE(hit(25, 85));   // the lower left point
    EXPECT_FALSE(hit(50, 80));  // between the two lower points
    EXPECT_FALSE(hit(20, 10));  // beside the top point
    EXPECT_FALSE(hit(95, 60));
    EXPECT_TRUE(hit(79, 90));  // a corner
}

TEST(ImageMaps, OddNumbersAndRadii) {
    TMapItem map("m");
    // Numbers that do not read (trailing letters, too large for an int, empty) count as 0.
    map.AddArea(Attrs({Attr(Symb::CoordsSy, "5abc, 99999999999, ,4"), Attr(Symb::HrefSy, "a")}));
    ASSERT_EQ(map.Areas().size(), 1u);
    EXPECT_EQ(map.Areas()[0].coords, (std::vector<int>{0, 0, 0, 4}));
    // Each part is cut to 20 characters before it is read.
    map.AddArea(
        Attrs({Attr(Symb::CoordsSy, "1                        9,2,3,4"), Attr(Symb::HrefSy, "b")}));
    EXPECT_EQ(map.Areas()[1].coords[0], 1);
    TMapItem circles("c");
    circles.AddArea(Attrs({Attr(Symb::ShapeSy, "circle"), Attr(Symb::CoordsSy, "10,10,-5"),
                           Attr(Symb::HrefSy, "neg")}));
    circles.AddArea(Attrs(
        {Attr(Symb::ShapeSy, "circ"), Attr(Symb::CoordsSy, "10,10,0"), Attr(Symb::HrefSy, "dot")}));
    EXPECT_EQ(circles.GetURL(10, 10)->URL, "dot");  // a negative radius covers nothing
    EXPECT_FALSE(circles.GetURL(12, 10));
}

TEST(ImageMaps, CoordinateCountIsLimited) {
    std::string coords = "0,0,100,0,100,100,0,100";
    for (int i = 0; i < 500; ++i) coords += ",1";
    TMapItem map("big");
    map.AddArea(Attrs(
        {Attr(Symb::ShapeSy, "poly"), Attr(Symb::CoordsSy, coords), Attr(Symb::HrefSy, "big")}));
    ASSERT_EQ(map.Areas().size(), 1u);
    EXPECT_EQ(map.Areas()[0].coords.size(), 200u);  // 201 read, points come in pairs
}

TEST(ImageMaps, TheDocumentFindsMapsByName) {
    TSectionList doc;
    doc.AddImageMap(std::make_unique<TMapItem>(NavMap()));
    doc.AddImageMap(std::make_unique<TMapItem>("nav"));  // a second of the same name
    ASSERT_NE(doc.FindImageMap("Nav"), nullptr);
    EXPECT_EQ(doc.FindImageMap("NAV")->Areas().size(), 3u);
    EXPECT_EQ(doc.FindImageMap("other"), nullptr);
    doc.Clear();
    EXPECT_EQ(doc.FindImageMap("NAV"), nullptr);
    EXPECT_TRUE(doc.ImageMaps().empty());
}

}  // namespace
}  // namespace quillon
