// Mini-target evaluation of the Laplace path on the mini targets' own touches and positions.
#include "laplace/laplace_mini_targets.h"

#include "config/calibration_config.h"
#include "fit/design_matrix_builders.h"
#include "fit/fit_inputs.h"
#include "fit/mini_targets.h"

int EvaluateLaplaceMiniTargets(CalibrationFit& fit) {
    const CalibrationConfig& c = *fit.Config;
    const size_t first = c.NumGridPoints;
    if (c.Touches.size() < first + kFitMiniTargets || c.Targets.size() < first + kFitMiniTargets ||
        fit.TermCount <= 0)
        return 0;
    Vector targetX(kFitMiniTargets), targetY(kFitMiniTargets);
    Matrix design(kFitMiniTargets, fit.TermCount);
    for (int k = 0; k < kFitMiniTargets; ++k) {
        const TouchEntry& touch = c.Touches[first + k];
        const TargetPoint& target = c.Targets[first + k];
        targetX[k] = NormalisedTargetX(c, target.X);
        targetY[k] = NormalisedTargetY(c, target.Y);
        PolynomialTerms(NormalisedTouch(fit, touch.V), NormalisedTouch(fit, touch.W), fit.TermCount,
                        design[k]);
    }
    return EvaluateMiniTargets(fit, {design, targetX, targetY, 0});
}
