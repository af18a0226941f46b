// The pass state under two threads: a stop racing touches, fits that Accept, Retry and the end
// routine wait for, and a bounded wait. Meant to run under ThreadSanitizer as well.
#include <gtest/gtest.h>

#include <atomic>
#include <future>
#include <thread>

#include "app/pass_rules.h"
#include "tests/passes/pass_test_support.h"

namespace {

using std::chrono::milliseconds;

// A worker that touches target after target of its pass until its token goes stale or its
// pass is fitted.
struct TouchWorker {
    int32_t accepted = 0;
    bool sawStale = false;
    void Run(PassSequencer& passes, PassToken token, CalibrationAreaList& areas,
             std::vector<TouchEntry>& touches) {
        for (int32_t target = 1; target <= 1000; ++target) {
            const TouchResult result = TouchSeen(passes, token, TouchOn(target), areas, touches);
            if (result.Outcome == TouchOutcome::Stale) {
                sawStale = true;
                return;
            }
            ++accepted;
            if (result.Outcome == TouchOutcome::RunFit) {
                passes.FinishFit(token, true);
                return;
            }
        }
    }
};

TEST(PassConcurrency, AStopRacingTouchesLeavesExactlyTheTouchesBeforeIt) {
    const PassSettings settings = GridSettings(400);
    for (int round = 0; round < 50; ++round) {
        PassSequencer passes(settings);
        CalibrationAreaList areas = AreasFor(1, settings.TargetCount);
        std::vector<TouchEntry> touches(size_t(settings.TargetCount));
        const PassToken token = passes.StartFirstPass(areas);
        TouchWorker worker;
        std::thread thread([&] { worker.Run(passes, token, areas, touches); });
        std::this_thread::yield();
        const PassAction action = passes.Retry(milliseconds(5000));
        thread.join();
        ASSERT_EQ(action, PassAction::StayOnArea);
        ASSERT_TRUE(worker.sawStale || worker.accepted == settings.TargetCount);
        // Every touch before the stop is stored, none after it.
        const int32_t stored = std::min(worker.accepted, settings.TargetCount);
        for (int32_t i = 0; i < settings.TargetCount; ++i)
            ASSERT_EQ(touches[i].TargetNumber, i < stored ? i + 1 : 0) << "round " << round;
        if (worker.accepted < settings.TargetCount) {
            ASSERT_EQ(passes.View().CurrentTarget, worker.accepted + 1);
        }
    }
}

// A worker that finishes its pass and then holds its fit until released.
struct HeldFit {
    std::promise<void> fitStarted;
    std::promise<void> release;
    std::atomic<bool> finishedFit{false};
    std::thread Start(PassSequencer& passes, PassToken token, CalibrationAreaList& areas,
                      std::vector<TouchEntry>& touches) {
        return std::thread([&, token] {
            TouchResult result;
            for (int32_t t = 1; result.Outcome != TouchOutcome::RunFit && t <= 100; ++t)
                result = TouchSeen(passes, token, TouchOn(t), areas, touches);
            fitStarted.set_value();
            release.get_future().wait();
            // The fit reads the touches while the dialog thread waits.
            int64_t sum = 0;
            for (const TouchEntry& touch : touches) sum += int64_t(touch.V);
            EXPECT_GT(sum, 0);
            finishedFit = true;
            passes.FinishFit(token, true);
        });
    }
};

TEST(PassConcurrency, WaitingForAFitInProgressIsBounded) {
    const PassSettings settings = GridSettings(9);
    PassSequencer passes(settings);
    CalibrationAreaList areas = AreasFor(1, settings.TargetCount);
    std::vector<TouchEntry> touches(size_t(settings.TargetCount));
    const PassToken token = passes.StartFirstPass(areas);
    HeldFit fit;
    std::thread worker = fit.Start(passes, token, areas, touches);
    fit.fitStarted.get_future().wait();
    EXPECT_EQ(passes.Accept(areas, 1, milliseconds(20)), PassAction::Busy);
    EXPECT_EQ(passes.Retry(milliseconds(20)), PassAction::Busy);
    EXPECT_EQ(passes.End(areas, 1, 1, milliseconds(20)), PassAction::Busy);
    EXPECT_EQ(passes.View().CancelCount, 0);
    fit.release.set_value();
    worker.join();
    // Nothing was stopped: the fit finished its own pass, which shows the result.
    EXPECT_FALSE(passes.View().FitInProgress);
    EXPECT_TRUE(passes.View().CalibrationDone);
}

TEST(PassConcurrency, AcceptWaitsForTheFitAndCommitToFinish) {
    const PassSettings settings = GridSettings(9);
    PassSequencer passes(settings);
    CalibrationAreaList areas = AreasFor(2, settings.TargetCount);
    std::vector<TouchEntry> touches(size_t(settings.TargetCount));
    const PassToken token = passes.StartFirstPass(areas);
    HeldFit fit;
    std::thread worker = fit.Start(passes, token, areas, touches);
    fit.fitStarted.get_future().wait();
    std::thread releaser([&] {
        std::this_thread::sleep_for(milliseconds(30));
        fit.release.set_value();
    });
    const PassAction action = passes.Accept(areas, 2, milliseconds(10000));
    EXPECT_TRUE(fit.finishedFit);
    EXPECT_EQ(action, PassAction::StartNextArea);
    EXPECT_EQ(areas.Areas.front().Calibrated, 1);
    releaser.join();
    worker.join();
}

TEST(PassConcurrency, StormsOfButtonsWhileFitsRunKeepTheStateWhole) {
    const PassSettings settings = GridSettings(9);
    PassSequencer passes(settings);
    CalibrationAreaList areas = AreasFor(2, settings.TargetCount);
    std::vector<TouchEntry> touches(size_t(settings.TargetCount));
    PassToken token = passes.StartFirstPass(areas);
    for (int round = 0; round < 200; ++round) {
        std::thread worker([&passes, &areas, &touches, token] {
            TouchWorker().Run(passes, token, areas, touches);
        });
        PassAction action = PassAction::Busy;
        switch (round % 3) {
            case 0:
                action = passes.Accept(areas, 1000, milliseconds(5000));
                break;
            case 1:
                action = passes.Retry(milliseconds(5000));
                break;
            default:
                action = passes.End(areas, 1000, 1000, milliseconds(5000));
                break;
        }
        worker.join();
        ASSERT_NE(action, PassAction::Busy);
        if (action == PassAction::Ignored) passes.Retry(milliseconds(5000));  // Accept too early
        ASSERT_EQ(TouchSeen(passes, token, TouchOn(1), areas, touches).Outcome,
                  TouchOutcome::Stale);
        ASSERT_FALSE(passes.View().FitInProgress);
        token = passes.StartPass(areas, round % 2 == 0, 2).Token;
        ASSERT_NE(token, 0u);
    }
}

}  // namespace
