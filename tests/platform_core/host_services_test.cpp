#include <gtest/gtest.h>

#include "platform/core/host_services.h"
#include "tests/common/recording_host.h"

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
    {
        const testing::ScopedDefaultHost installed(host);
        EXPECT_EQ(DefaultHost().MessageDlg("Printer error. ABORT ", TMsgDlgType::mtConfirmation,
                                           mbYes | mbNo),
                  mrNo);
    }
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].text, "Printer error. ABORT ");
    EXPECT_EQ(seen[0].type, TMsgDlgType::mtConfirmation);
    EXPECT_NE(&DefaultHost(), &host);
}

}  // namespace
}  // namespace quillon
