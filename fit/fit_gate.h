// The quality gate of a finished pass: whether its fit may reach the driver, how much its touches
// scatter and how well the fitted mapping meets the grid targets.
#pragma once

#include <cstdint>
#include <limits>

#include "fit/calibration_fit.h"

// Why a fit may or may not be committed, in the order the gate asks.
enum class FitVerdict : int32_t {
    Sound = 0,         // commit it
    FitFailed,         // the fit itself refused the data (LastStatus is not Fitted)
    TouchOutOfRange,   // a stored touch lies outside ControllerMin .. ControllerMax
    RankDeficient,     // fewer non-zero singular values than terms: the touches span too little
    RecordOverflow,    // a record field would not be a finite number that fits its 32 bits
    ResidualTooLarge,  // the grid targets are missed by more than the bound (RMS)
    ScatterTooLarge,   // the touches scatter by more than MaxTouchScatter millimetres
    TouchesDisagree,   // touches still disagree with the others after being asked again
    ExpectedErrorTooLarge,  // the calibration's expected worst error is beyond any use
    CheckMissed,  // a check touch away from the grid was missed, refits with the checks included
};

// A pass whose calibration is expected to miss by more than this anywhere is refused (the window
// judges its touches and asks again before it fits): no kiosk is usable so, and the touches
// cannot tell how much worse it is.
inline constexpr double kMostExpectedWorstMm = 5.0;

struct FitGateLimits {
    int32_t ControllerMin = 0;
    int32_t ControllerMax = 4095;
    double MaxResidualPixels = 0.0;  // 0: no bound on the residual
    double MaxScatterMm = 0.0;       // 0: no bound on the scatter
};

struct FitJudgement {
    FitVerdict Verdict = FitVerdict::FitFailed;
    double RmsPixels = 0.0;  // residual of the grid targets, predicted minus target
    double MaxPixels = 0.0;
    double BoundPixels = 0.0;  // the residual bound applied (0: none)
    int32_t Rank = 0;          // non-zero singular values of the final grid fit
    double ScatterMm = 0.0;    // of the touches, per axis, as the judge estimates it
    double BoundScatterMm = 0.0;
    // The committed mapping's expected error over the whole area (RMS) and the bound of its worst,
    // from the pass's expected-error map; where that is not known (the Laplace kinds), the
    // touches' deleted residuals.
    double ExpectedRmsMm = 0.0;
    double ExpectedWorstMm = 0.0;
    // The bound of the worst error 3.5 mm or more from every edge and within 3.5 mm of one, from
    // the map (NaN: not known).
    double ExpectedWorstInsideMm = std::numeric_limits<double>::quiet_NaN();
    double ExpectedWorstEdgeMm = std::numeric_limits<double>::quiet_NaN();
    int32_t Region = 0;  // TouchesDisagree: where, as PlaceOnArea gives it
};

// The limits of a pass: the controller range of the parameters, MaxFitResidual (pixels) and
// MaxTouchScatter (millimetres).
FitGateLimits FitGateLimitsFor(int32_t controllerMin, int32_t controllerMax, double maxFitResidual,
                               double maxTouchScatter);

// Judges a fit that has run on its linked configuration (MonitorWidth and MonitorHeight set).
// The residual figures are filled whenever coefficients exist, and the judge's figures whenever
// the touches can be judged, whatever the verdict.
FitJudgement JudgeFit(const CalibrationFit& fit, const FitGateLimits& limits);

// A short English sentence for traces and tools, and a stable lower-case name for JSON.
const wchar_t* FitVerdictText(FitVerdict verdict);
const char* FitVerdictName(FitVerdict verdict);

// Where a point lies on an area, in thirds: row (top, middle, bottom) * 3 + column (left, centre,
// right); 4 is the centre.
int32_t PlaceOnArea(double x, double y, double width, double height);
