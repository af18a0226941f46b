// The end of a pass after its last touch, safe against anything its steps throw.
#include "app/pass_finish.h"

#include "platform/debug_trace.h"

namespace {

enum class Finish { Refused, Committed, Checking };

// The fit, its judgement, the checks and the commit; the judgement is left as it was unless the
// gate judged.
Finish FitJudgeAndCommit(const PassFinishSteps& steps, FitJudgement& judgement) {
    const bool fitted = steps.Fit();
    if (fitted && !steps.RecordWithoutFit) judgement = steps.Judge();
    const bool sound = fitted && judgement.Verdict == FitVerdict::Sound;
    if (sound && !steps.RecordWithoutFit && steps.BeginChecks && steps.BeginChecks(judgement))
        return Finish::Checking;
    return (sound || steps.RecordWithoutFit) && steps.Commit() ? Finish::Committed
                                                               : Finish::Refused;
}

void TraceUnexpectedFailure() {
    try {
        DebugPrint(L"Tarnix.exe: the pass was refused: %s", kUnexpectedFailureReason);
    } catch (...) {
        // Not even the trace could be made: the pass is refused all the same.
    }
}

}  // namespace

bool FinishPass(PassSequencer& sequencer, PassToken token, const PassFinishSteps& steps) {
    FitJudgement judgement;
    Finish finish = Finish::Refused;
    try {
        finish = FitJudgeAndCommit(steps, judgement);
    } catch (...) {
        TraceUnexpectedFailure();
        sequencer.FailFit(token);
        return false;
    }
    if (finish == Finish::Checking) return true;
    sequencer.FinishFit(token, finish == Finish::Committed, judgement);
    return false;
}
