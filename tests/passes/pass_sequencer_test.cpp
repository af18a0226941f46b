// The pass state on one thread: touches, fits, Accept, Retry, the end routine and the countdown.
#include <gtest/gtest.h>

#include "tests/passes/pass_test_support.h"

namespace {

using std::chrono::milliseconds;
constexpr milliseconds kWait{1000};

// Touches the targets one by one until the pass asks for its fit; returns the targets touched.
std::vector<int32_t> TouchUntilFit(PassSequencer& passes, PassToken token,
                                   CalibrationAreaList& areas, std::vector<TouchEntry>& touches) {
    std::vector<int32_t> touched;
    while (touched.size() < 100) {
        const int32_t target = passes.View().CurrentTarget;
        touched.push_back(target);
        if (TouchSeen(passes, token, TouchOn(target), areas, touches).Outcome !=
            TouchOutcome::Repaint)
            break;
    }
    return touched;
}

struct Pass {
    explicit Pass(const PassSettings& settings, int32_t monitors = 1)
        : passes(settings),
          areas(AreasFor(monitors, settings.TargetCount)),
          touches(size_t(settings.TargetCount)) {}
    PassSequencer passes;
    CalibrationAreaList areas;
    std::vector<TouchEntry> touches;

    // A whole pass on the current area: every target, then a committed fit.
    PassToken RunFinished(PassToken token) {
        TouchUntilFit(passes, token, areas, touches);
        passes.FinishFit(token, true);
        return token;
    }
};

TEST(PassTouches, MiniTargetsTwoAndFiveAreShownAndTheFitFollowsTarget30) {
    Pass p(GridSettings(25, {2, 5}));
    const PassToken token = p.passes.StartFirstPass(p.areas);
    const std::vector<int32_t> touched = TouchUntilFit(p.passes, token, p.areas, p.touches);
    std::vector<int32_t> expected;
    for (int32_t t = 1; t <= 25; ++t) expected.push_back(t);
    expected.push_back(27);
    expected.push_back(30);
    EXPECT_EQ(touched, expected);
    for (int32_t t : expected) {
        EXPECT_EQ(p.touches[t - 1].TargetNumber, t);
        EXPECT_EQ(p.touches[t - 1].V, 1000 + t);
        EXPECT_EQ(p.touches[t - 1].W, 2000 + t);
    }
    EXPECT_EQ(p.touches[25].TargetNumber, 0);  // target 26 was never shown
    const PassView fitting = p.passes.View();
    EXPECT_FALSE(fitting.CollectingTouches);
    EXPECT_TRUE(fitting.FitInProgress);
    EXPECT_FALSE(fitting.CalibrationDone);
    ASSERT_TRUE(p.passes.FinishFit(token, true));
    const PassView done = p.passes.View();
    EXPECT_TRUE(done.CalibrationDone);
    EXPECT_FALSE(done.FitInProgress);
    EXPECT_EQ(done.CurrentTarget, 37);
}

TEST(PassTouches, WithoutMiniTargetsTheFitFollowsTheLastGridTarget) {
    Pass p(GridSettings(25));
    const PassToken token = p.passes.StartFirstPass(p.areas);
    EXPECT_EQ(TouchUntilFit(p.passes, token, p.areas, p.touches).size(), 25u);
    p.passes.FinishFit(token, true);
    EXPECT_EQ(p.passes.View().CurrentTarget, 26);
}

TEST(PassTouches, TheFitReportsTheAreaSize) {
    Pass p(GridSettings(4));
    p.areas.Current->Width = 1920;
    p.areas.Current->Height = 1080;
    const PassToken token = p.passes.StartFirstPass(p.areas);
    TouchResult result;
    for (int32_t t = 1; t <= 4; ++t)
        result = TouchSeen(p.passes, token, TouchOn(t), p.areas, p.touches);
    ASSERT_EQ(result.Outcome, TouchOutcome::RunFit);
    EXPECT_EQ(result.AreaWidth, 1920);
    EXPECT_EQ(result.AreaHeight, 1080);
}

TEST(PassTouches, SimulatedTouchesAreNotOverwritten) {
    PassSettings settings = GridSettings(9);
    settings.SimulateMode = true;
    Pass p(settings);
    p.touches[0] = TouchEntry{1, 11.5, 22.5};
    const PassToken token = p.passes.StartFirstPass(p.areas);
    EXPECT_EQ(TouchUntilFit(p.passes, token, p.areas, p.touches).size(), 9u);
    EXPECT_EQ(p.touches[0].V, 11.5);
    EXPECT_EQ(p.touches[1].TargetNumber, 0);
}

TEST(PassTouches, ThreePointPassesStoreIntoTheListsOwnTargets) {
    Pass p(GridSettings(3));
    const PassToken token = p.passes.StartFirstPass(p.areas);
    EXPECT_EQ(TouchUntilFit(p.passes, token, p.areas, p.touches).size(), 3u);
    for (int32_t t = 1; t <= 3; ++t) {
        EXPECT_EQ(p.areas.Targets[t - 1].RawV, 1000 + t);
        EXPECT_EQ(p.areas.Targets[t - 1].RawW, 2000 + t);
        EXPECT_EQ(p.touches[t - 1].TargetNumber, 0);
    }
}

TEST(PassTouches, SingleTouchControllerFinishesAtItsEndWord) {
    Pass p(GridSettings(25));
    const PassToken token = p.passes.StartFirstPass(p.areas);
    EXPECT_EQ(TouchSeen(p.passes, token, TouchInput{5, 6, '7', 2}, p.areas, p.touches).Outcome,
              TouchOutcome::Repaint);
    EXPECT_EQ(TouchSeen(p.passes, token, TouchInput{5, 6, '7', 3}, p.areas, p.touches).Outcome,
              TouchOutcome::RunFit);
    p.passes.FinishFit(token, true);
    EXPECT_EQ(p.passes.View().CurrentTarget, 26);
}

TEST(PassTouches, RedoAfterTheLastTouchFitsAgainOnTheSameData) {
    Pass p(GridSettings(25, {2, 5}));
    const PassToken token = p.RunFinished(p.passes.StartFirstPass(p.areas));
    const std::vector<TouchEntry> stored = p.touches;
    for (int round = 0; round < 3; ++round) {
        const TouchResult again =
            TouchSeen(p.passes, token, TouchInput{7, 7, '0', 0}, p.areas, p.touches);
        ASSERT_EQ(again.Outcome, TouchOutcome::RunFit);
        ASSERT_TRUE(p.passes.FinishFit(token, true));
        EXPECT_EQ(p.passes.View().CurrentTarget, 37);
        EXPECT_TRUE(p.passes.View().CalibrationDone);
    }
    for (size_t i = 0; i < stored.size(); ++i) EXPECT_EQ(p.touches[i].V, stored[i].V) << i;
}

TEST(PassTouches, ARefusedFitIsShownAsSuch) {
    Pass p(GridSettings(4));
    const PassToken token = p.passes.StartFirstPass(p.areas);
    TouchUntilFit(p.passes, token, p.areas, p.touches);
    p.passes.FinishFit(token, false);
    EXPECT_TRUE(p.passes.View().FitRefused);
    EXPECT_TRUE(p.passes.View().CalibrationDone);
}

TEST(PassStop, AStoppedPassChangesNothing) {
    Pass p(GridSettings(9));
    const PassToken token = p.passes.StartFirstPass(p.areas);
    TouchSeen(p.passes, token, TouchOn(1), p.areas, p.touches);
    ASSERT_EQ(p.passes.Retry(kWait), PassAction::StayOnArea);
    EXPECT_EQ(TouchSeen(p.passes, token, TouchOn(2), p.areas, p.touches).Outcome,
              TouchOutcome::Stale);
    EXPECT_EQ(p.touches[1].TargetNumber, 0);
    EXPECT_EQ(p.passes.View().CurrentTarget, 2);
    EXPECT_FALSE(p.passes.FinishFit(token, true));
    EXPECT_FALSE(p.passes.View().CalibrationDone);
}

TEST(PassStart, RetryStaysOnTheAreaAndStartsAtTargetOne) {
    Pass p(GridSettings(9), 2);
    p.RunFinished(p.passes.StartFirstPass(p.areas));
    ASSERT_EQ(p.passes.Retry(kWait), PassAction::StayOnArea);
    const PassStart start = p.passes.StartPass(p.areas, true, 2);
    EXPECT_EQ(start.Monitor, 1);
    EXPECT_EQ(start.Area, &p.areas.Areas.front());
    const PassView view = p.passes.View();
    EXPECT_EQ(view.CurrentTarget, 1);
    EXPECT_TRUE(view.CollectingTouches);
    EXPECT_FALSE(view.CalibrationDone);
    EXPECT_EQ(TouchSeen(p.passes, start.Token, TouchOn(1), p.areas, p.touches).Outcome,
              TouchOutcome::Repaint);
}

TEST(PassStart, IsRefusedWhileAFitRuns) {
    Pass p(GridSettings(4));
    const PassToken token = p.passes.StartFirstPass(p.areas);
    TouchUntilFit(p.passes, token, p.areas, p.touches);
    EXPECT_EQ(p.passes.StartPass(p.areas, true, 1).Token, 0u);
    EXPECT_TRUE(p.passes.FinishFit(token, true));  // the fitting pass still runs
}

TEST(PassAccept, MovesToTheNextScreenUntilEveryScreenIsDone) {
    Pass p(GridSettings(9), 2);
    p.RunFinished(p.passes.StartFirstPass(p.areas));
    ASSERT_EQ(p.passes.Accept(p.areas, 2, kWait), PassAction::StartNextArea);
    EXPECT_EQ(p.areas.Areas.front().Calibrated, 1);
    EXPECT_EQ(p.areas.Areas.front().ScreenNumber, 1);
    EXPECT_EQ(p.areas.ScreenCounter, 2);
    const PassStart next = p.passes.StartPass(p.areas, false, 2);
    EXPECT_EQ(next.Monitor, 2);
    EXPECT_EQ(next.Area, &p.areas.Areas.back());
    p.RunFinished(next.Token);
    EXPECT_EQ(p.passes.Accept(p.areas, 2, kWait), PassAction::EndDialog);
    EXPECT_EQ(p.areas.Areas.back().ScreenNumber, 2);
    EXPECT_EQ(p.areas.AcceptedCount, 2);
}

TEST(PassAccept, OnACalibratedAreaAppendsAMarkedCopy) {
    Pass p(GridSettings(3), 1);
    p.RunFinished(p.passes.StartFirstPass(p.areas));
    ASSERT_EQ(p.passes.Accept(p.areas, 2, kWait), PassAction::StartNextArea);
    const PassStart again = p.passes.StartPass(p.areas, false, 1);  // one monitor: the same area
    ASSERT_EQ(again.Area, &p.areas.Areas.front());
    p.RunFinished(again.Token);
    ASSERT_EQ(p.passes.Accept(p.areas, 2, kWait), PassAction::EndDialog);
    ASSERT_EQ(p.areas.Areas.size(), 2u);
    const CalibrationArea& copy = p.areas.Areas.back();
    EXPECT_EQ(p.areas.Current, &copy);
    EXPECT_EQ(copy.Calibrated, 1);
    EXPECT_EQ(copy.ScreenNumber, 2);
    EXPECT_EQ(copy.DuplicateWord1, 2);
    EXPECT_EQ(copy.DuplicateWord2, 2);
    EXPECT_EQ(copy.Targets.size(), p.areas.Areas.front().Targets.size());
    EXPECT_EQ(copy.Targets[2].RawV, 1003);  // the three-point touches of the list
    EXPECT_EQ(p.areas.Areas.front().ScreenNumber, 1);
}

TEST(PassAccept, AnExplicitTargetEndsAfterOneArea) {
    PassSettings settings = GridSettings(9);
    settings.ExplicitTarget = true;
    Pass p(settings, 2);
    p.RunFinished(p.passes.StartFirstPass(p.areas));
    EXPECT_EQ(p.passes.Accept(p.areas, 2, kWait), PassAction::EndDialog);
}

TEST(PassAccept, IsIgnoredWhileCollecting) {
    Pass p(GridSettings(9));
    const PassToken token = p.passes.StartFirstPass(p.areas);
    EXPECT_EQ(p.passes.Accept(p.areas, 1, kWait), PassAction::Ignored);
    EXPECT_EQ(TouchSeen(p.passes, token, TouchOn(1), p.areas, p.touches).Outcome,
              TouchOutcome::Repaint);
    EXPECT_EQ(p.areas.Current->Calibrated, 0);
    EXPECT_EQ(p.areas.AcceptedCount, 0);
}

TEST(PassEnd, OneScreenAndOneMonitorEndsAtTheFirstEsc) {
    Pass p(GridSettings(9));
    const PassToken token = p.passes.StartFirstPass(p.areas);
    EXPECT_EQ(p.passes.End(p.areas, 1, 1, kWait), PassAction::EndDialog);
    EXPECT_EQ(TouchSeen(p.passes, token, TouchOn(1), p.areas, p.touches).Outcome,
              TouchOutcome::Stale);
    EXPECT_EQ(p.passes.View().CancelCount, 1);
}

TEST(PassEnd, TwoMonitorsMoveOnAtTheFirstEscAndEndAtTheSecond) {
    Pass p(GridSettings(9), 2);
    p.passes.StartFirstPass(p.areas);
    ASSERT_EQ(p.passes.End(p.areas, 1, 2, kWait), PassAction::StartNextArea);
    const PassStart next = p.passes.StartPass(p.areas, false, 2);
    EXPECT_EQ(next.Monitor, 2);
    EXPECT_EQ(next.Area, &p.areas.Areas.back());
    EXPECT_EQ(p.passes.End(p.areas, 1, 2, kWait), PassAction::EndDialog);
}

TEST(PassEnd, AfterAFinishedPassEndsTheDialog) {
    Pass p(GridSettings(9), 2);
    p.RunFinished(p.passes.StartFirstPass(p.areas));
    EXPECT_EQ(p.passes.End(p.areas, 1, 2, kWait), PassAction::EndDialog);
    EXPECT_FALSE(p.passes.View().CalibrationDone);
}

TEST(PassEnd, ACancelledFirstTouchRunsTheEndRoutineOfItsOwnPassOnly) {
    Pass p(GridSettings(9), 2);
    const PassToken first = p.passes.StartFirstPass(p.areas);
    ASSERT_EQ(p.passes.EndAfterCancelledFirstTouch(first, p.areas, 1, 2, kWait),
              PassAction::StartNextArea);
    const PassStart next = p.passes.StartPass(p.areas, false, 2);
    EXPECT_EQ(p.passes.EndAfterCancelledFirstTouch(first, p.areas, 1, 2, kWait),
              PassAction::Ignored);
    EXPECT_EQ(p.passes.EndAfterCancelledFirstTouch(next.Token, p.areas, 1, 2, kWait),
              PassAction::EndDialog);
}

TEST(PassCountdown, EscapesAtZeroAndStartsAgain) {
    Pass p(GridSettings(9));
    p.passes.StartFirstPass(p.areas);
    for (int32_t second = 59; second >= 1; --second) {
        const TimerTick tick = p.passes.Tick();
        ASSERT_EQ(tick.Outcome, TimerOutcome::ShowCountdown);
        ASSERT_EQ(tick.Seconds, second);
    }
    EXPECT_EQ(p.passes.Tick().Outcome, TimerOutcome::Escape);
    EXPECT_EQ(p.passes.View().CountdownSeconds, 60);
    EXPECT_EQ(p.passes.End(p.areas, 1, 1, kWait), PassAction::EndDialog);
}

TEST(PassCountdown, ATouchStartsItAgainAndTheTestLengthIsHonoured) {
    PassSettings settings = GridSettings(9);
    settings.CountdownLength = 3;
    Pass p(settings);
    const PassToken token = p.passes.StartFirstPass(p.areas);
    EXPECT_EQ(p.passes.Tick().Seconds, 2);
    EXPECT_EQ(p.passes.Tick().Seconds, 1);
    TouchSeen(p.passes, token, TouchOn(1), p.areas, p.touches);
    EXPECT_EQ(p.passes.View().CountdownSeconds, 3);
    p.passes.Tick();
    p.passes.Tick();
    EXPECT_EQ(p.passes.Tick().Outcome, TimerOutcome::Escape);
    EXPECT_EQ(p.passes.View().CountdownSeconds, 3);
}

TEST(PassPacing, ATouchCountsOnlyOnceItsTargetWasOnScreenForAReactionTime) {
    Pass p(GridSettings(4));
    const PassToken token = p.passes.StartFirstPass(p.areas);
    const auto touchAt = [&](int32_t target, PassClock::time_point at) {
        TouchInput touch = TouchOn(target);
        touch.At = at;
        return p.passes.HandleTouch(token, touch, p.areas, p.touches).Outcome;
    };
    EXPECT_TRUE(p.passes.WaitsForDrawing(token));
    EXPECT_EQ(touchAt(1, kDrawnAt), TouchOutcome::TooEarly);  // queued before anything was drawn
    p.passes.TargetShown(2, kDrawnAt);                        // not the current target
    EXPECT_TRUE(p.passes.WaitsForDrawing(token));
    p.passes.TargetShown(1, kDrawnAt);
    p.passes.TargetShown(1, kDrawnAt + std::chrono::seconds(5));  // a repaint: the first counts
    EXPECT_FALSE(p.passes.WaitsForDrawing(token));
    EXPECT_EQ(touchAt(1, kDrawnAt + kReactionTime - milliseconds(1)), TouchOutcome::TooEarly);
    EXPECT_EQ(p.touches[0].TargetNumber, 0);
    EXPECT_EQ(touchAt(1, kDrawnAt + kReactionTime), TouchOutcome::Repaint);
    EXPECT_EQ(p.touches[0].TargetNumber, 1);
    // The bounce 30 ms later finds target 2 not drawn yet: dropped, target 2 keeps waiting.
    EXPECT_TRUE(p.passes.WaitsForDrawing(token));
    EXPECT_EQ(touchAt(2, kDrawnAt + kReactionTime + milliseconds(30)), TouchOutcome::TooEarly);
    EXPECT_EQ(p.touches[1].TargetNumber, 0);
    EXPECT_EQ(p.passes.View().CurrentTarget, 2);
    // After the pass (a redo request) no target is shown and nothing is paced.
    TouchUntilFit(p.passes, token, p.areas, p.touches);
    p.passes.FinishFit(token, true);
    EXPECT_FALSE(p.passes.WaitsForDrawing(token));
    EXPECT_EQ(touchAt(5, PassClock::time_point{}), TouchOutcome::RunFit);
}

TEST(PassMisclick, ARefusedTouchKeepsItsTargetShowsTheHintAndStoresNothing) {
    PassSettings settings = GridSettings(9);
    settings.MisclickTolerance = 0.4;  // of the 360-pixel row step: 144 pixels
    Pass p(settings);
    CalibrationArea& area = *p.areas.Current;
    area.Width = 1920;
    area.Height = 1080;
    for (int32_t t = 0; t < 9; ++t) {
        area.Targets[size_t(t)].ScreenX = 320 + 640 * (t % 3);
        area.Targets[size_t(t)].ScreenY = 180 + 360 * (t / 3);
    }
    const auto raw = [&](int32_t t, char type = '0') {
        return TouchInput{area.Targets[size_t(t) - 1].ScreenX * 2,
                          area.Targets[size_t(t) - 1].ScreenY * 3, type, 0};
    };
    const PassToken token = p.passes.StartFirstPass(p.areas);
    ASSERT_EQ(TouchSeen(p.passes, token, raw(1), p.areas, p.touches).Outcome,
              TouchOutcome::Repaint);
    // Target 1 touched again while target 2 shows: a double touch.
    EXPECT_EQ(TouchSeen(p.passes, token, raw(1), p.areas, p.touches).Outcome,
              TouchOutcome::Refused);
    EXPECT_TRUE(p.passes.View().MisclickHint);
    EXPECT_EQ(p.passes.View().CurrentTarget, 2);
    EXPECT_EQ(p.touches[1].TargetNumber, 0);
    EXPECT_EQ(TouchSeen(p.passes, token, raw(2), p.areas, p.touches).Outcome,
              TouchOutcome::Repaint);
    EXPECT_FALSE(p.passes.View().MisclickHint);
    for (int32_t t = 3; t <= 4; ++t) TouchSeen(p.passes, token, raw(t), p.areas, p.touches);
    // The map exists: target 5 touched where target 9 is, refused; a type '7' touch is not checked.
    EXPECT_EQ(TouchSeen(p.passes, token, raw(9), p.areas, p.touches).Outcome,
              TouchOutcome::Refused);
    EXPECT_EQ(TouchSeen(p.passes, token, raw(9, '7'), p.areas, p.touches).Outcome,
              TouchOutcome::Repaint);
    EXPECT_EQ(p.touches[4].V, raw(9).V);
    // A refused touch does not start the countdown again: refusals cannot keep a pass alive.
    const int32_t before = p.passes.Tick().Seconds;
    EXPECT_EQ(TouchSeen(p.passes, token, raw(1), p.areas, p.touches).Outcome,
              TouchOutcome::Refused);
    EXPECT_EQ(p.passes.View().CountdownSeconds, before);
}

TEST(PassSettingsFor, TakesTheConfigurationsCounts) {
    CalibrationConfig config;
    config.NumGridPoints = 25;
    config.TargetCount = 36;
    config.MiniTargetCount = 2;
    config.MiniTargetEnabled[1] = config.MiniTargetEnabled[4] = true;
    config.Simulate = true;
    ControllerParameters parameters;
    parameters.ControllerMin = 4095;
    parameters.ControllerMax = 0;
    const PassSettings settings = PassSettingsFor(config, parameters, true, 7);
    EXPECT_EQ(settings.TargetCount, 36);
    EXPECT_EQ(settings.GridPointCount, 25);
    EXPECT_EQ(settings.TouchesToCollect, 27);
    EXPECT_TRUE(settings.SimulateMode);
    EXPECT_TRUE(settings.MiniTargetEnabled[4]);
    EXPECT_FALSE(settings.MiniTargetEnabled[3]);
    EXPECT_TRUE(settings.ExplicitTarget);
    EXPECT_EQ(settings.CountdownLength, 7);
    EXPECT_EQ(settings.MisclickTolerance, 0.4);
    EXPECT_EQ(settings.ControllerSpan, 4095.0);
    EXPECT_FALSE(settings.Judge.Enabled);  // simulated touches are the configuration's
    EXPECT_EQ(settings.Judge.ScreenWidthMm, parameters.ScreenWidth);
    EXPECT_EQ(settings.Judge.FloorMm, kDefaultSuspectFloorMm);
}

}  // namespace
