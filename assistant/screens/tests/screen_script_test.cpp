#include "script/screen_script.h"
#include "testing/fake_toolkit.h"

#include <gtest/gtest.h>

#include <vector>

namespace pf {
namespace {

using fakes::FakeProgressBar;
using Cond = ScriptStep::Test;

TEST(ScreenScript, FirstTickOnlyAdvancesAndStepsRunAtTheirValue) {
    FakeProgressBar clock(0, 100);
    std::vector<float> ran_at;
    ScreenScript script(clock, {{2, Cond::equals, [&] { ran_at.push_back(clock.value()); }},
                                {6, Cond::equals, [&] { ran_at.push_back(clock.value()); }},
                                {50, Cond::greater_than, [] {}}});
    script.tick();
    EXPECT_TRUE(ran_at.empty());
    EXPECT_EQ(clock.value(), 2);
    for (int i = 0; i < 3; ++i) script.tick();
    EXPECT_EQ(ran_at, (std::vector<float>{2, 6}));
    EXPECT_EQ(clock.value(), 8);
}

TEST(ScreenScript, EachStepReadsTheClockAfreshWithinOneTick) {
    FakeProgressBar clock(0, 100);
    int later_step_runs = 0;
    // The first step moves the clock onto the second step's trigger: the second
    // step must see the new value in the same tick.
    ScreenScript script(clock, {{4, Cond::equals, [&] { clock.set_value(10); }},
                                {10, Cond::equals, [&] { ++later_step_runs; }},
                                {90, Cond::greater_than, [] {}}});
    clock.set_value(4);
    script.tick();
    EXPECT_EQ(later_step_runs, 1);
    EXPECT_EQ(clock.value(), 12);
}

TEST(ScreenScript, EndStepStopsTheAdvanceAndAnOddTriggerNeverRuns) {
    FakeProgressBar clock(0, 163);
    int odd_runs = 0, end_runs = 0;
    ScreenScript script(clock, {{11, Cond::equals, [&] { ++odd_runs; }},
                                {160, Cond::greater_than, [&] { ++end_runs; }}});
    int ticks = 0;
    while (end_runs == 0) {
        script.tick();
        ++ticks;
    }
    EXPECT_EQ(odd_runs, 0);
    EXPECT_EQ(ticks, 82);  // clock 0, 2, ..., 162
    EXPECT_EQ(clock.value(), 162);
}

TEST(ScreenScript, AdvancingPastMaxIsAnError) {
    FakeProgressBar clock(0, 10);
    ScreenScript script(clock, {{100, Cond::greater_than, [] {}}});
    clock.set_value(10);
    try {
        script.tick();
        FAIL() << "writing 12 into a bar whose Max is 10 must fail";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.code(), error_code::invalid_property_value);
    }
    EXPECT_EQ(clock.value(), 10);
}

TEST(ScreenScript, RefusesAListWithoutEndStep) {
    FakeProgressBar clock(0, 10);
    EXPECT_THROW(ScreenScript(clock, {{2, Cond::equals, [] {}}}), std::invalid_argument);
}

}  // namespace
}  // namespace pf
