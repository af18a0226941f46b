// The plain pass rules: target advance, finished test, monitor choice, due-to-end, worker count.
#include "app/pass_rules.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "app/pass_countdown.h"

namespace {

std::vector<int32_t> TargetsShown(int32_t gridPoints, int32_t targetCount,
                                  const bool (&enabled)[kMiniTargetSlots]) {
    std::vector<int32_t> shown;
    for (int32_t t = 1; t <= targetCount && shown.size() < 100;
         t = NextTarget(t, gridPoints, enabled))
        shown.push_back(t);
    return shown;
}

TEST(NextTarget, SkipsMiniTargetsThatAreNotEnabled) {
    bool enabled[kMiniTargetSlots] = {};
    enabled[1] = enabled[4] = true;  // mini targets 2 and 5
    std::vector<int32_t> expected;
    for (int32_t t = 1; t <= 25; ++t) expected.push_back(t);
    expected.push_back(27);
    expected.push_back(30);
    EXPECT_EQ(TargetsShown(25, 36, enabled), expected);
    EXPECT_EQ(NextTarget(30, 25, enabled), 37);  // past the last slot: 25 + 12 at most
}

TEST(NextTarget, WithoutMiniTargetsLeavesTheGridAtOnce) {
    bool none[kMiniTargetSlots] = {};
    EXPECT_EQ(TargetsShown(25, 25, none).size(), 25u);
    EXPECT_EQ(NextTarget(24, 25, none), 25);
    EXPECT_EQ(NextTarget(25, 25, none), 37);
    bool all[kMiniTargetSlots];
    std::fill(std::begin(all), std::end(all), true);
    EXPECT_EQ(NextTarget(25, 25, all), 26);
    EXPECT_EQ(NextTarget(36, 25, all), 37);
    EXPECT_EQ(NextTarget(40, 25, none), 41);  // beyond the slots nothing is skipped
}

TEST(PassFinished, AfterTheLastTargetOrAtTheSingleTouchControllersEndWord) {
    EXPECT_FALSE(IsPassFinished(25, 25, '0', 3));
    EXPECT_TRUE(IsPassFinished(26, 25, '0', 0));
    EXPECT_TRUE(IsPassFinished(2, 25, '7', 3));
    EXPECT_FALSE(IsPassFinished(2, 25, '7', 2));
    EXPECT_FALSE(IsPassFinished(2, 25, '3', 3));
}

TEST(PassMonitor, MovesOnWrapsAndStays) {
    EXPECT_EQ(ChoosePassMonitor(1, 2, false), 2);
    EXPECT_EQ(ChoosePassMonitor(2, 2, false), 1);
    EXPECT_EQ(ChoosePassMonitor(2, 2, true), 2);
    EXPECT_EQ(ChoosePassMonitor(1, 1, false), 1);
    EXPECT_EQ(ChoosePassMonitor(3, 2, true), 1);
    EXPECT_EQ(ChoosePassMonitor(4, 0, false), 1);  // no driver monitor: from 0
    EXPECT_EQ(ChoosePassMonitor(4, 0, true), 0);
}

TEST(DueToEnd, CalibratedMarkOrCancelCount) {
    EXPECT_TRUE(IsDueToEnd(0, 1, 1, 1));
    EXPECT_FALSE(IsDueToEnd(0, 1, 1, 2));
    EXPECT_TRUE(IsDueToEnd(0, 2, 1, 2));
    EXPECT_TRUE(IsDueToEnd(1, 1, 1, 3));
    EXPECT_FALSE(IsDueToEnd(1, 1, 2, 3));
    EXPECT_TRUE(IsDueToEnd(0, 3, 3, 2));
}

// Touches a worker asks for before it first waits for a redo, starting after the first touch.
int32_t TouchesBeforeRedoWait(WorkerTouchCount& count) {
    int32_t touches = 0;
    while (!count.WaitsForRedo() && !count.Finished() && touches < 1000) {
        count.Advance();
        ++touches;
    }
    return touches;
}

TEST(WorkerTouchCount, CollectsEveryTouchThenWaitsForRedo) {
    WorkerTouchCount count(27);
    count.StartAfterFirstTouch('0');
    EXPECT_EQ(count.Value(), 1);
    EXPECT_EQ(count.NextSimulatedEntry(), 2);
    EXPECT_EQ(TouchesBeforeRedoWait(count) + 1, 27);
    EXPECT_FALSE(count.Finished());
    count.Redo();
    EXPECT_EQ(count.NextSimulatedEntry(), 1);
    EXPECT_EQ(TouchesBeforeRedoWait(count), 27);  // a redo collects a whole pass again
}

TEST(WorkerTouchCount, SingleTouchControllerLeavesAfterItsFirstTouch) {
    WorkerTouchCount count(25);
    count.StartAfterFirstTouch('7');
    EXPECT_EQ(count.Value(), 50);
    EXPECT_TRUE(count.Finished());
    WorkerTouchCount one(1);
    one.StartAfterFirstTouch('7');
    EXPECT_FALSE(one.Finished());  // 2 is not above 1 + 1
    EXPECT_TRUE(one.WaitsForRedo());
}

TEST(SimulatedTouches, AreTruncatedAndBounded) {
    const std::vector<TouchEntry> touches = {{1, 100.9, -3.7}, {2, NAN, 1e20}};
    int32_t v = 0, w = 0;
    ASSERT_TRUE(SimulatedTouch(touches, 1, v, w));
    EXPECT_EQ(v, 100);
    EXPECT_EQ(w, -3);
    ASSERT_TRUE(SimulatedTouch(touches, 2, v, w));
    EXPECT_EQ(v, 0);
    EXPECT_EQ(w, std::numeric_limits<int32_t>::max());
    EXPECT_FALSE(SimulatedTouch(touches, 0, v, w));
    EXPECT_FALSE(SimulatedTouch(touches, 3, v, w));
}

TEST(ControllerUnits, ShiftArithmetically) {
    EXPECT_EQ(ControllerUnits(65535), 4095);
    EXPECT_EQ(ControllerUnits(-17), -2);
    EXPECT_EQ(ControllerUnits(INT32_MAX), 134217727);  // the ends of the raw range stay in range
    EXPECT_EQ(ControllerUnits(INT32_MIN), -134217728);
}

// A driver that reports 1000 touch screens (or monitors) would keep the end routine from ever
// being due; a negative count means none.
TEST(DriverCounts, AreKeptWithinTheRoomOfARun) {
    EXPECT_EQ(UsableDriverCount(0), 0);
    EXPECT_EQ(UsableDriverCount(-3), 0);
    EXPECT_EQ(UsableDriverCount(1), 1);
    EXPECT_EQ(UsableDriverCount(1000), kMaxDriverCount);
    EXPECT_TRUE(IsDueToEnd(0, kMaxDriverCount, UsableDriverCount(1000), UsableDriverCount(1000)));
}

TEST(CountdownSetting, AcceptsOneToSixtySeconds) {
    EXPECT_EQ(CountdownLengthFromSetting("5"), 5);
    EXPECT_EQ(CountdownLengthFromSetting("60"), 60);
    EXPECT_EQ(CountdownLengthFromSetting("0"), 60);
    EXPECT_EQ(CountdownLengthFromSetting("61"), 60);
    EXPECT_EQ(CountdownLengthFromSetting("5s"), 60);
    EXPECT_EQ(CountdownLengthFromSetting(""), 60);
    EXPECT_EQ(CountdownLengthFromSetting(nullptr), 60);
}

}  // namespace
