// SPDX-License-Identifier: GPL-3.0-or-later
// Copyright (C) 2026 The Quillet developers

// The timer: when it runs, the interval rules, and errors inside ticks.
#include <gtest/gtest.h>

#include "platform/system/Exception.h"
#include "tests/TestSupport.h"
#include "tests/toolkit/ToolkitTestSupport.h"
#include "toolkit/TTimer.h"

namespace {

TEST(TTimer, RunsOnlyWhileBoundEnabledAndWithAPositiveInterval) {
    TTimer timer;
    EXPECT_EQ(timer.Interval(), 1000);
    EXPECT_TRUE(timer.Enabled());
    EXPECT_FALSE(timer.Ticking()) << "nothing to call yet";

    ASSERT_TRUE(timer.BindEvent("OnTimer", [](QObject*) {}));
    EXPECT_FALSE(timer.BindEvent("OnClick", [](QObject*) {}));
    EXPECT_TRUE(timer.Ticking());

    timer.SetInterval(0);
    EXPECT_FALSE(timer.Ticking());
    timer.SetInterval(100);
    EXPECT_TRUE(timer.Ticking());

    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Ticking());
    timer.SetInterval(250);  // a new interval does not wake a disabled timer
    EXPECT_FALSE(timer.Ticking());
    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Ticking());

    timer.SetOnTimer(nullptr);
    EXPECT_FALSE(timer.Ticking());
}

TEST(TTimer, SettingTheIntervalItAlreadyHasDoesNotRestartTheCount) {
    TTimer timer;
    int ticks = 0;
    timer.SetInterval(30);
    timer.SetOnTimer([&](QObject*) { ++ticks; });
    // Were every SetInterval a restart, the 30 ms would never run out inside this loop.
    EXPECT_TRUE(WaitUntil([&] {
        timer.SetInterval(30);
        return ticks > 0;
    }));
}

TEST(TTimer, TheClockPatternSwitchesToTheShortIntervalOnTheFirstTick) {
    TTimer timer;
    timer.SetInterval(5);
    int ticks = 0;
    timer.SetOnTimer([&](QObject* sender) {
        EXPECT_EQ(sender, &timer);
        timer.SetInterval(1);
        ++ticks;
    });
    EXPECT_TRUE(WaitUntil([&] { return ticks >= 3; }));
    EXPECT_EQ(timer.Interval(), 1);
    EXPECT_TRUE(timer.Ticking());
}

TEST(TTimer, AnErrorInATickIsReportedAndTheNextTickRuns) {
    ErrorBoxRecorder::Take();
    TTimer timer;
    timer.SetInterval(1);
    int ticks = 0;
    timer.SetOnTimer([&](QObject*) {
        if (++ticks == 1) throw Exception("Clock failed");
    });
    EXPECT_TRUE(WaitUntil([&] { return ticks >= 3; }));
    const auto boxes = ErrorBoxRecorder::Take();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].Text, "Clock failed.");
    EXPECT_TRUE(timer.Ticking());
}

}  // namespace
