// The judge of a finished pass: how far the pass's own model, fitted without a touch, puts that
// touch from its target, in millimetres on the glass, weighed against the pass's own scatter.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "config/calibration_config.h"
#include "fit/fit_basis.h"
#include "fit/glass_scale.h"

struct ControllerParameters;

// A pass asks again for at most this many targets, and at most this many more touches for each.
inline constexpr int32_t kMaxAskedTargets = 3;
inline constexpr int32_t kMaxExtraTouches = 2;

// The model the touches are judged by: the fit's polynomial (raw -> screen), or for the Laplace
// kinds the harmonic model of their Laplace stage (screen -> raw).
enum class JudgeModel { Polynomial, Harmonic };

struct JudgedTarget {
    int32_t Index = 0;  // 0-based target index, as in TouchGridXnn
    RawPoint Touch;
    ScreenPoint Target;
};

struct JudgeInput {
    JudgeModel Model = JudgeModel::Polynomial;
    int32_t Order = 3;                      // of the polynomial
    FitTerms Terms = FitTerms::Polynomial;  // of the polynomial model, as the fit chooses them
    GlassScale Scale;
    double FloorMm = kDefaultSuspectFloorMm;
    std::vector<JudgedTarget> Grid;   // the touches the model is fitted to
    std::vector<JudgedTarget> Minis;  // predicted by the grid's model
};

struct TouchFigures {
    int32_t Index = 0;
    bool Judged = false;     // false where the model cannot tell (it passes through the touch)
    double DeletedMm = 0.0;  // how far the model fitted without the touch puts it from its target
    double Score = 0.0;      // that, in units of what the scatter explains there
    double Leverage = 0.0;   // of the touch in the fit (a grid touch)
};

struct TouchJudgement {
    bool Judged = false;                // enough touches beyond the model's terms to judge
    double ScatterMm = 0.0;             // robust per-axis scatter of the touches, suspects aside
    std::vector<TouchFigures> Touches;  // the grid, then the minis, in input order
    std::vector<int32_t> Suspects;      // target indices, worst first
    double ExpectedRmsMm = 0.0;         // error of a new touch: the grid's deleted residuals
    double ExpectedWorstMm = 0.0;
    // Where the judge trusts the touches least (area pixels): its first suspect's target, or
    // without one between two neighbours the fit without them misses the same way by less than
    // names them.
    bool Doubted = false;
    ScreenPoint Doubt;
};

TouchJudgement JudgeTouches(const JudgeInput& input);

// Whether a new touch of a target lies elsewhere than an earlier one, distanceMm apart on the
// glass: beyond four scatters, and always beyond 1 mm (touches of a very steady hand).
inline bool TouchedElsewhere(double distanceMm, double scatterMm) {
    return distanceMm > std::max(4.0 * scatterMm, 1.0);
}

// The neighbours of grid target index (0-based) that the fit without the two misses the same way
// as it, by more than the scatter explains where the judge doubts: the partners of a touch of
// index that was confirmed a miss (touched again elsewhere), judged with that miss in place. A
// slanted stylus or parallax misses neighbours alike; each hides the other from the judge.
std::vector<int32_t> PartnersOfMiss(const JudgeInput& input, int32_t index, double scatterMm);

// The window would refuse the pass outright: more suspects than targets it asks again.
inline bool TooManySuspects(const TouchJudgement& j) {
    return j.Suspects.size() > std::size_t(kMaxAskedTargets);
}

// The judge's input for the touches of a configuration on an area of width x height pixels (grid
// points and enabled mini targets; targets at their exact normalised positions).
JudgeInput JudgeInputFor(const CalibrationConfig& config, const ControllerParameters& parameters,
                         int32_t width, int32_t height);
JudgeInput JudgeInputFor(const CalibrationConfig& config, GlassScale scale, int32_t width,
                         int32_t height);
