// One picture of the viewer compared with a stored one, within a tolerance for font
// versions: the share of pixels that differ clearly must stay small.

#include <cstdlib>
#include <filesystem>

#include <QImage>
#include <QPixmap>

#include <gtest/gtest.h>

#include "platform/qt/qt_image_decoder.h"
#include "widget_test_support.h"

namespace quillon {
namespace {

constexpr const char* kPage =
    "<BODY BGCOLOR=\"#FFFFF0\"><H2>Quarterly sales</H2>"
    "<P>Figures by region, with <A HREF=\"detail.htm\">the details</A> one click away.</P>"
    "<TABLE BORDER=1 CELLPADDING=3><TR><TH>Region</TH><TH>Amount</TH></TR>"
    "<TR><TD>North</TD><TD ALIGN=RIGHT>1,250.00</TD></TR>"
    "<TR><TD>South</TD><TD ALIGN=RIGHT>980.50</TD></TR></TABLE>"
    "<P>{ A positioned picture goes here }</P>"
    "<PRE>Fixed  pitch  lines</PRE>";

// The share of pixels (0..1) whose colour differs by more than 64 in some channel.
double DifferingShare(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) return 1.0;
    long differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const QColor p = a.pixelColor(x, y);
            const QColor q = b.pixelColor(x, y);
            if (std::abs(p.red() - q.red()) > 64 || std::abs(p.green() - q.green()) > 64 ||
                std::abs(p.blue() - q.blue()) > 64) {
                ++differing;
            }
        }
    }
    return static_cast<double>(differing) / (a.width() * a.height());
}

TEST(ViewerScreenshot, MatchesTheStoredPicture) {
    THTMLViewer v;
    testing::ShowViewer(v, 360, 240);
    v.LoadFromBuffer(kPage);
    v.clearFocus();
    QCoreApplication::processEvents();
    const QImage shot = v.grab().toImage().convertToFormat(QImage::Format_RGB32);
    const std::string out = std::filesystem::temp_directory_path() / "quillon_viewer_page.png";
    shot.save(QString::fromStdString(out));

    // The background colour of the body shows where nothing is drawn.
    EXPECT_EQ(shot.pixelColor(180, 230), QColor("#FFFFF0"));
    const QImage want(QString(QUILLON_TEST_DATA) + "/html_view/viewer_page.png");
    ASSERT_FALSE(want.isNull()) << "no stored picture; this run's is " << out;
    EXPECT_LT(DifferingShare(shot, want.convertToFormat(QImage::Format_RGB32)), 0.02)
        << "compare " << out << " with the stored picture";
}

}  // namespace
}  // namespace quillon
