#include <gtest/gtest.h>

#include "platform/core/host_services.h"
#include "platform/core/test_canvas.h"

namespace quillon {
namespace {

TEST(HeadlessHost, AnswersWithTheButtonThatEndsTheOperation) {
    HeadlessHost host([](const HeadlessHost::Message&) { return -1; });
    host.SetResponder(nullptr);
    EXPECT_EQ(HeadlessHost::DefaultAnswer(mbOK), mrOk);
    EXPECT_EQ(HeadlessHost::DefaultAnswer(mbYes | mbNo), mrYes);
    EXPECT_EQ(HeadlessHost::DefaultAnswer(mbAbort | mbRetry | mbIgnore), mrAbort);
    EXPECT_EQ(HeadlessHost::DefaultAnswer(0), mrNone);
    EXPECT_TRUE(host.Printers().empty());
    EXPECT_EQ(host.CurrentPrinter(), -1);
    EXPECT_EQ(host.CreateProgressWindow({}), nullptr);
}

TEST(HeadlessHost, ResponderSeesTheMessage) {
    std::vector<HeadlessHost::Message> seen;
    HeadlessHost host([&](const HeadlessHost::Message& m) {
        seen.push_back(m);
        return static_cast<int>(mrNo);
    });
    SetDefaultHost(&host);
    EXPECT_EQ(DefaultHost().MessageDlg("Printer error. ABORT ", TMsgDlgType::mtConfirmation,
                                       mbYes | mbNo),
              mrNo);
    SetDefaultHost(nullptr);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Printer error. ABORT ");
    EXPECT_EQ(seen[0].type, TMsgDlgType::mtConfirmation);
    EXPECT_NE(&DefaultHost(), &host);
}

TEST(TestCanvas, FixedMetricsClippingAndImageTransparency) {
    TestCanvas canvas(4, 2);
    canvas.SetFont(FontSpec{"Arial", 30});
    EXPECT_EQ(canvas.TextWidth(U"abc"), 24);
    EXPECT_EQ(canvas.Metrics().height, 16);

    canvas.SetClip(Rect{0, 0, 2, 2});
    canvas.FillRect(Rect{-5, -5, 10, 10}, 0xFF0000);
    canvas.ClearClip();
    EXPECT_EQ(canvas.Surface().At(1, 1), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(canvas.Surface().At(2, 1), (Rgba{255, 255, 255, 255}));

    // A 2x1 image stretched over 4x2: its left pixel is transparent, its right one blue.
    RgbaImage image(2, 1);
    image.At(1, 0) = Rgba{0, 0, 255, 255};
    canvas.DrawImage(Rect{0, 0, 4, 2}, image);
    EXPECT_EQ(canvas.Surface().At(0, 0), (Rgba{255, 0, 0, 255}));
    EXPECT_EQ(canvas.Surface().At(3, 1), (Rgba{0, 0, 255, 255}));
    EXPECT_EQ(canvas.Log().back(), "image 0,0,4,2 2x1");
}

}  // namespace
}  // namespace quillon
