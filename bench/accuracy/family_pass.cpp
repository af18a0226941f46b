// One pass of the family bench: touches through a drawn sensor, the program's fit and judgement,
// and the true error of its mapping and of each hindsight candidate's.
#include "bench/accuracy/family_pass.h"

#include <algorithm>
#include <cmath>

#include "bench/accuracy/asked_again.h"
#include "bench/accuracy/gated_fit.h"
#include "fit/expected_error.h"

namespace {

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
    const AskedTouching asked = AskSuspectsAgain(in, c, p);
    FamilyPassOutcome outcome;
    outcome.BadNamed = !in.Bad.empty() && asked.Touching.Bad.empty();
    outcome.SomeBadNamed = asked.BadNamed > 0;
    outcome.AnyNamed = asked.AnyNamed;
    const GatedFit gated = FitTouchedPass(c, p, in.Screen);
    outcome.Refused = !gated.Sound() || asked.Refused;
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
