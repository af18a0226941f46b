// The quality gate of a finished pass: touches in range, full rank, a packable record and a
// residual within its bound.
#include "fit/fit_gate.h"

#include <algorithm>
#include <iterator>

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

namespace {

struct VerdictWords {
    const wchar_t* Text;  // for traces and stderr
    const char* Name;     // for --json
};

// One row per FitVerdict, in its order.
constexpr VerdictWords kVerdictWords[] = {
    {L"the fit is sound", "sound"},
    {L"the fit refused the data", "fit-failed"},
    {L"a touch lies outside ControllerMin .. ControllerMax", "touch-out-of-range"},
    {L"the touches do not span the screen (rank-deficient fit)", "rank-deficient"},
    {L"a record field would not be a finite 32-bit number", "record-overflow"},
    {L"the residual at the grid targets exceeds MaxFitResidual", "residual-too-large"},
};
static_assert(std::size(kVerdictWords) == size_t(FitVerdict::ResidualTooLarge) + 1);

const VerdictWords* WordsFor(FitVerdict verdict) {
    const auto index = size_t(verdict);
    return index < std::size(kVerdictWords) ? &kVerdictWords[index] : nullptr;
}

}  // namespace

const wchar_t* FitVerdictText(FitVerdict verdict) {
    const VerdictWords* words = WordsFor(verdict);
    return words ? words->Text : L"unknown";
}

const char* FitVerdictName(FitVerdict verdict) {
    const VerdictWords* words = WordsFor(verdict);
    return words ? words->Name : "unknown";
}
