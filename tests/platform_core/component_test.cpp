#include "platform/core/component.h"

#include <gtest/gtest.h>

#include <memory>

namespace quillon {
namespace {

struct Calculator : TComponent {};

struct Report : TComponent {
    Report() : calc([this] { ++removed; }) {}
    ComponentLink<Calculator> calc;
    int removed = 0;
};

TEST(ComponentLink, TargetDestroyedFirstEmptiesTheLinkAndTellsTheHolder) {
    auto report = std::make_unique<Report>();
    auto calc = std::make_unique<Calculator>();
    report->calc.Set(calc.get());
    EXPECT_EQ(report->calc.Get(), calc.get());
    calc.reset();
    EXPECT_EQ(report->calc.Get(), nullptr);
    EXPECT_FALSE(report->calc);
    EXPECT_EQ(report->removed, 1);
    report.reset();  // must not touch the freed calculator
}

TEST(ComponentLink, HolderDestroyedFirstUnregistersItsLink) {
    auto calc = std::make_unique<Calculator>();
    {
        Report a, b;
        a.calc.Set(calc.get());
        b.calc.Set(calc.get());
    }
    calc.reset();  // must not call back into the freed reports
    SUCCEED();
}

TEST(ComponentLink, RelinkingAndClearingMoveTheRegistration) {
    Report report;
    auto first = std::make_unique<Calculator>();
    auto second = std::make_unique<Calculator>();
    report.calc.Set(first.get());
    report.calc.Set(second.get());
    first.reset();  // no longer linked: nothing happens
    EXPECT_EQ(report.calc.Get(), second.get());
    EXPECT_EQ(report.removed, 0);
    report.calc.Set(nullptr);
    second.reset();
    EXPECT_EQ(report.removed, 0);
}

}  // namespace
}  // namespace quillon
