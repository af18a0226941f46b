// The end of a pass after its last touch: its fit, the gate's judgement and the commit, run so that
// nothing they throw leaves the pass half finished.
#pragma once

#include <functional>

#include "app/pass_sequencer.h"

// The reason a pass is refused when one of its finishing steps threw.
inline constexpr const wchar_t* kUnexpectedFailureReason =
    L"an unexpected failure; the calibration was not changed";

// The steps after the last touch. Fit: true when the fit may be judged; Judge: the gate's judgement
// of a fitted fit; BeginChecks (optional): true when check touches are asked for a sound fit
// before its commit; Commit: true when the record reached the driver (it must do everything that
// may throw before its first driver call).
struct PassFinishSteps {
    std::function<bool()> Fit;
    std::function<FitJudgement()> Judge;
    std::function<bool(const FitJudgement&)> BeginChecks;
    std::function<bool()> Commit;
    bool RecordWithoutFit = false;  // a type '7' record: committed whatever the fit did, unjudged
};

// Runs the steps of pass token and ends its fit in the sequencer. A step that throws ends the pass
// refused as an unexpected failure (traced with kUnexpectedFailureReason): no later step runs, the
// fit is no longer in progress, so Retry, Accept and the end routine answer at once. True when
// check touches were asked instead of the commit: the pass goes on, its fit not ended.
bool FinishPass(PassSequencer& sequencer, PassToken token, const PassFinishSteps& steps);
