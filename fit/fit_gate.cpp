// The quality gate of a finished pass: touches in range, full rank, a packable record and a
// residual within its bound.
#include "fit/fit_gate.h"

#include <algorithm>

#include "config/calibration_config.h"
#include "fit/calibration_record.h"
#include "fit/fit_evaluation.h"

namespace {

bool InRange(double value, double low, double high) { return value >= low && value <= high; }

// Every touch the fit used: the grid points and the enabled mini targets.
bool TouchesInRange(const CalibrationConfig& c, const FitGateLimits& limits) {
    const double low = std::min(limits.ControllerMin, limits.ControllerMax);
    const double high = std::max(limits.ControllerMin, limits.ControllerMax);
    for (size_t i = 0; i < c.Touches.size() && i < c.NumGridPoints + kMiniTargetSlots; ++i) {
        if (i >= c.NumGridPoints && !c.MiniTargetEnabled[i - c.NumGridPoints]) continue;
        if (!InRange(c.Touches[i].V, low, high) || !InRange(c.Touches[i].W, low, high))
            return false;
    }
    return true;
}

}  // namespace

FitGateLimits FitGateLimitsFor(int32_t controllerMin, int32_t controllerMax, double maxFitResidual,
                               int32_t areaWidth, int32_t areaHeight) {
    FitGateLimits limits;
    limits.ControllerMin = controllerMin;
    limits.ControllerMax = controllerMax;
    limits.MaxResidualPixels = maxFitResidual >= 0.0
                                   ? maxFitResidual
                                   : kDefaultResidualShare * std::min(areaWidth, areaHeight);
    return limits;
}

FitJudgement JudgeFit(const CalibrationFit& fit, const FitGateLimits& limits) {
    FitJudgement judgement;
    judgement.BoundPixels = limits.MaxResidualPixels;
    const GridResiduals residuals = ComputeGridResiduals(fit);
    judgement.RmsPixels = residuals.RmsPixels;
    judgement.MaxPixels = residuals.MaxPixels;
    judgement.Rank = fit.FinalRank;
    if (fit.LastStatus != FitStatus::Fitted || fit.Config == nullptr)
        judgement.Verdict = FitVerdict::FitFailed;
    else if (!TouchesInRange(*fit.Config, limits))
        judgement.Verdict = FitVerdict::TouchOutOfRange;
    else if (judgement.Rank < fit.TermCount)
        judgement.Verdict = FitVerdict::RankDeficient;
    else if (!FitFieldsFitRecord(fit))
        judgement.Verdict = FitVerdict::RecordOverflow;
    else if (limits.MaxResidualPixels > 0.0 && !(residuals.RmsPixels <= limits.MaxResidualPixels))
        judgement.Verdict = FitVerdict::ResidualTooLarge;
    else
        judgement.Verdict = FitVerdict::Sound;
    return judgement;
}

const wchar_t* FitVerdictText(FitVerdict verdict) {
    switch (verdict) {
        case FitVerdict::Sound:
            return L"the fit is sound";
        case FitVerdict::FitFailed:
            return L"the fit refused the data";
        case FitVerdict::TouchOutOfRange:
            return L"a touch lies outside ControllerMin .. ControllerMax";
        case FitVerdict::RankDeficient:
            return L"the touches do not span the screen (rank-deficient fit)";
        case FitVerdict::RecordOverflow:
            return L"a record field would not be a finite 32-bit number";
        case FitVerdict::ResidualTooLarge:
            return L"the residual at the grid targets exceeds MaxFitResidual";
    }
    return L"unknown";
}

const char* FitVerdictName(FitVerdict verdict) {
    switch (verdict) {
        case FitVerdict::Sound:
            return "sound";
        case FitVerdict::FitFailed:
            return "fit-failed";
        case FitVerdict::TouchOutOfRange:
            return "touch-out-of-range";
        case FitVerdict::RankDeficient:
            return "rank-deficient";
        case FitVerdict::RecordOverflow:
            return "record-overflow";
        case FitVerdict::ResidualTooLarge:
            return "residual-too-large";
    }
    return "unknown";
}
