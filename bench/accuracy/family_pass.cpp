// One pass of the family bench: touches through a drawn sensor, the program's fit and judgement,
// and the true error of its mapping and of each hindsight candidate's.
#include "bench/accuracy/family_pass.h"

#include <algorithm>
#include <cmath>

#include "bench/accuracy/gated_fit.h"
#include "fit/expected_error.h"
#include "fit/touch_judge.h"

namespace {

bool Named(const BadTouch& bad, const TouchJudgement& judged) {
    const auto& s = judged.Suspects;
    return std::find(s.begin(), s.end(), int32_t(bad.Target)) != s.end();
}

// The worst expected error the pass shows of itself, as the calibration window computes it.
double ShownWorst(const CalibrationFit& fit, const ControllerParameters& p) {
    const GlassScale glass =
        GlassScaleFor(p.ScreenWidth, p.ScreenHeight, fit.MonitorWidth, fit.MonitorHeight);
    if (!glass.Usable()) return std::nan("");
    const ExpectedErrorMap map = ExpectedErrorOfPass(fit, glass);
    if (map.Mm.empty()) return std::nan("");
    return std::max(map.WorstInsideMm, map.WorstEdgeMm);
}

CandidateOutcome FitAlone(const PassTouching& in, const CalibrationConfig& touched,
                          const ControllerParameters& parameters, const FitCandidate& f) {
    CalibrationConfig c = touched;
    ControllerParameters p = parameters;
    UseCandidate(f, c);
    const GatedFit gated = FitTouchedPass(c, p, in.Screen);
    if (!gated.Fitted) return {};
    const AccuracyZones zones = TrueError(in, *gated.Fit, c);
    return {true, zones.whole.millimetres.rms, zones.whole.millimetres.maximum};
}

}  // namespace

FamilyPassOutcome RunFamilyPass(const FamilyPassInput& input) {
    const PassTouching& in = input.Touching;
    CalibrationConfig c = *input.Layout->Config;
    ControllerParameters p = input.Layout->Parameters;
    SetControllerRange(in.Sensor, p);
    TouchTargets(in, c);
    FamilyPassOutcome outcome;
    const GatedFit gated = FitTouchedPass(c, p, in.Screen);
    const TouchJudgement judged =
        JudgeTouches(JudgeInputFor(c, p, in.Screen.width, in.Screen.height));
    const auto named = [&](const BadTouch& bad) { return Named(bad, judged); };
    outcome.BadNamed = !in.Bad.empty() && std::all_of(in.Bad.begin(), in.Bad.end(), named);
    outcome.SomeBadNamed = std::any_of(in.Bad.begin(), in.Bad.end(), named);
    outcome.Refused = !gated.Sound() || TooManySuspects(judged);
    if (!outcome.Refused) {
        outcome.Zones = TrueError(in, *gated.Fit, c);
        outcome.ExpectedRmsMm = gated.Gate.ExpectedRmsMm;
        outcome.ShownWorstMm = ShownWorst(*gated.Fit, p);
    }
    if (input.Candidates != nullptr)
        for (const FitCandidate& f : *input.Candidates)
            outcome.Candidates.push_back(FitAlone(in, c, p, f));
    return outcome;
}
