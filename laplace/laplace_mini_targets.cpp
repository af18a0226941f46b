// Mini-target evaluation of the Laplace path on the mini targets' own touches and positions.
#include "laplace/laplace_mini_targets.h"

#include <utility>

#include "config/calibration_config.h"
#include "fit/design_matrix_builders.h"
#include "fit/mini_targets.h"
#include "numeric/design_matrices.h"

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
        targetX[k] = (target.X - c.OriginX) / c.RangeX;
        targetY[k] = (target.Y - c.OriginY) / c.RangeY;
        PolynomialTerms((touch.V - fit.ControllerOffset) * fit.ScaleFactor,
                        (touch.W - fit.ControllerOffset) * fit.ScaleFactor, fit.TermCount,
                        design[k]);
    }
    // EvaluateMiniTargets reads data points gridPointCount .. + 10 of the fit and of the design
    // matrix: lend it the mini targets as points 0 .. 10, then put the grid back.
    std::swap(fit.TargetX, targetX);
    std::swap(fit.TargetY, targetY);
    std::swap(PolynomialDesignMatrix, design);
    const int status = EvaluateMiniTargets(fit, fit.TermCount, 0, fit.CoeffX, fit.CoeffY);
    std::swap(PolynomialDesignMatrix, design);
    std::swap(fit.TargetY, targetY);
    std::swap(fit.TargetX, targetX);
    return status;
}
