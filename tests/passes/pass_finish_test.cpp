// The end of a pass after its last touch when its fit, judgement or commit throws: the pass ends
// refused, nothing is committed, and Retry and the next pass work at once.
#include "app/pass_finish.h"

#include <gtest/gtest.h>

#include <new>
#include <stdexcept>
#include <string>

#include "tests/passes/pass_test_support.h"

namespace {

using std::chrono::milliseconds;

enum class Step { None, Fit, Judge, Commit };

// The finishing steps of a pass, one of which throws; counts what reached "the driver".
struct Steps {
    Step throwing = Step::None;
    bool badAlloc = false;
    bool recordWithoutFit = false;
    int judged = 0;
    int committed = 0;

    void ThrowAt(Step step) const {
        if (step != throwing) return;
        if (badAlloc) throw std::bad_alloc();
        throw std::runtime_error("step failed");
    }
    PassFinishSteps Make() {
        PassFinishSteps steps;
        steps.Fit = [this] {
            ThrowAt(Step::Fit);
            return true;
        };
        steps.Judge = [this] {
            ThrowAt(Step::Judge);
            ++judged;
            FitJudgement sound;
            sound.Verdict = FitVerdict::Sound;
            return sound;
        };
        steps.Commit = [this] {
            ThrowAt(Step::Commit);
            ++committed;
            return true;
        };
        steps.RecordWithoutFit = recordWithoutFit;
        return steps;
    }
};

// A pass touched to its last target, its fit in progress.
struct FinishedPass {
    PassSettings settings = GridSettings(9);
    PassSequencer passes{settings};
    CalibrationAreaList areas = AreasFor(1, settings.TargetCount);
    std::vector<TouchEntry> touches = std::vector<TouchEntry>(size_t(settings.TargetCount));
    PassToken token = 0;

    FinishedPass() {
        token = passes.StartFirstPass(areas);
        for (int32_t target = 1; target <= settings.TargetCount; ++target)
            TouchSeen(passes, token, TouchOn(target), areas, touches);
    }
};

TEST(PassFinish, WhateverThrowsEndsThePassRefusedAndRetryWorks) {
    for (Step step : {Step::Fit, Step::Judge, Step::Commit}) {
        for (bool badAlloc : {false, true}) {
            const std::string name =
                "step " + std::to_string(int(step)) + (badAlloc ? " bad_alloc" : " runtime_error");
            FinishedPass p;
            ASSERT_TRUE(p.passes.View().FitInProgress) << name;
            Steps steps{step, badAlloc};
            FinishPass(p.passes, p.token, steps.Make());

            const PassView refused = p.passes.View();
            EXPECT_FALSE(refused.FitInProgress) << name;
            EXPECT_TRUE(refused.CalibrationDone) << name;
            EXPECT_TRUE(refused.FitRefused) << name;
            EXPECT_TRUE(refused.UnexpectedFailure) << name;
            EXPECT_EQ(steps.committed, 0) << name;  // nothing reached the driver
            EXPECT_EQ(steps.judged, step == Step::Commit ? 1 : 0) << name;
            EXPECT_TRUE(ShowsRetry(refused)) << name;
            EXPECT_FALSE(ShowsAccept(refused)) << name;

            // Retry answers at once, and the next pass starts clean.
            EXPECT_EQ(p.passes.Retry(milliseconds(0)), PassAction::StayOnArea) << name;
            const PassStart next = p.passes.StartPass(p.areas, true, 1);
            EXPECT_NE(next.Token, 0u) << name;
            EXPECT_FALSE(p.passes.View().UnexpectedFailure) << name;
            EXPECT_FALSE(p.passes.View().FitRefused) << name;
        }
    }
}

TEST(PassFinish, ASoundFitIsCommittedAndATypeSevenRecordUnjudged) {
    FinishedPass sound;
    Steps steps;
    FinishPass(sound.passes, sound.token, steps.Make());
    const PassView view = sound.passes.View();
    EXPECT_FALSE(view.FitRefused);
    EXPECT_FALSE(view.UnexpectedFailure);
    EXPECT_EQ(view.Judgement.Verdict, FitVerdict::Sound);
    EXPECT_EQ(steps.committed, 1);
    EXPECT_TRUE(ShowsAccept(view));

    FinishedPass typeSeven;
    Steps record;
    record.recordWithoutFit = true;
    FinishPass(typeSeven.passes, typeSeven.token, record.Make());
    EXPECT_EQ(record.judged, 0);
    EXPECT_EQ(record.committed, 1);
    EXPECT_FALSE(typeSeven.passes.View().FitRefused);
}

// A stale pass (stopped while its fit ran, which the sequencer does not allow, or a token from an
// earlier pass) changes nothing, whatever its steps do.
TEST(PassFinish, AStaleTokenChangesNothing) {
    FinishedPass p;
    Steps steps{Step::Judge};
    FinishPass(p.passes, p.token + 1, steps.Make());
    EXPECT_TRUE(p.passes.View().FitInProgress);
    EXPECT_FALSE(p.passes.View().UnexpectedFailure);
}

}  // namespace
