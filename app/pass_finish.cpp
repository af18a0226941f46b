// The end of a pass after its last touch, safe against anything its steps throw.
#include "app/pass_finish.h"

#include "platform/debug_trace.h"

namespace {

// The fit, its judgement and the commit; the judgement is left as it was unless the gate judged.
bool FitJudgeAndCommit(const PassFinishSteps& steps, FitJudgement& judgement) {
    const bool fitted = steps.Fit();
    if (fitted && !steps.RecordWithoutFit) judgement = steps.Judge();
    const bool sound = fitted && judgement.Verdict == FitVerdict::Sound;
    return (sound || steps.RecordWithoutFit) && steps.Commit();
}

void TraceUnexpectedFailure() {
    try {
        DebugPrint(L"Tarnix.exe: the pass was refused: %s", kUnexpectedFailureReason);
    } catch (...) {
        // Not even the trace could be made: the pass is refused all the same.
    }
}

}  // namespace

void FinishPass(PassSequencer& sequencer, PassToken token, const PassFinishSteps& steps) {
    FitJudgement judgement;
    bool committed = false;
    try {
        committed = FitJudgeAndCommit(steps, judgement);
    } catch (...) {
        TraceUnexpectedFailure();
        sequencer.FailFit(token);
        return;
    }
    sequencer.FinishFit(token, committed, judgement);
}
