// The quality gate of a finished pass: whether its fit may reach the driver, and how well the
// fitted mapping meets the grid targets.
#pragma once

#include <cstdint>

#include "fit/calibration_fit.h"

// Why a fit may or may not be committed, in the order the gate asks.
enum class FitVerdict : int32_t {
    Sound = 0,         // commit it
    FitFailed,         // the fit itself refused the data (LastStatus is not Fitted)
    TouchOutOfRange,   // a stored touch lies outside ControllerMin .. ControllerMax
    RankDeficient,     // fewer non-zero singular values than terms: the touches span too little
    RecordOverflow,    // a record field would not be a finite number that fits its 32 bits
    ResidualTooLarge,  // the grid targets are missed by more than the bound (RMS)
};

struct FitGateLimits {
    int32_t ControllerMin = 0;
    int32_t ControllerMax = 4095;
    double MaxResidualPixels = 0.0;  // 0: no bound on the residual
};

struct FitJudgement {
    FitVerdict Verdict = FitVerdict::FitFailed;
    double RmsPixels = 0.0;  // residual of the grid targets, predicted minus target
    double MaxPixels = 0.0;
    double BoundPixels = 0.0;  // the residual bound applied (0: none)
    int32_t Rank = 0;          // non-zero singular values of the final grid fit
};

// Share of the smaller area side that MaxFitResidual defaults to.
inline constexpr double kDefaultResidualShare = 0.01;

// The limits for a pass on an area: the controller range of the parameters and the residual
// bound of MaxFitResidual (a negative value means its default, 1 % of the smaller area side).
FitGateLimits FitGateLimitsFor(int32_t controllerMin, int32_t controllerMax, double maxFitResidual,
                               int32_t areaWidth, int32_t areaHeight);

// Judges a fit that has run on its linked configuration (MonitorWidth and MonitorHeight set).
// The residual figures are filled whenever coefficients exist, whatever the verdict.
FitJudgement JudgeFit(const CalibrationFit& fit, const FitGateLimits& limits);

// A short English sentence for traces and tools, and a stable lower-case name for JSON.
const wchar_t* FitVerdictText(FitVerdict verdict);
const char* FitVerdictName(FitVerdict verdict);
