// The quality gate of a finished pass: touches in range, full rank, a packable record, the
// touches' scatter and (when bounded) the residual within their bounds.
#include "fit/fit_gate.h"

#include <algorithm>
#include <cmath>
#include <iterator>

#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "fit/calibration_record.h"
#include "fit/expected_error.h"
#include "fit/fit_evaluation.h"
#include "fit/touch_judge.h"

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

// The expected error of the committed mapping over the whole area, where its map is known (not for
// the Laplace kinds, whose final fit is not made on the touches): it replaces the touches' own.
// False when the mapping folds over part of the area: some touch there has no single place on
// the screen, and the calibration misses by far more than any figure could say.
bool AddExpectedErrorMap(const CalibrationFit& fit, FitJudgement& judgement) {
    const GlassScale glass =
        GlassScaleFor(fit.Parameters->ScreenWidth, fit.Parameters->ScreenHeight, fit.MonitorWidth,
                      fit.MonitorHeight);
    if (!glass.Usable()) return true;
    const ExpectedErrorMap map = ExpectedErrorOfPass(fit, glass);
    if (map.Mm.empty()) return map.Columns == 0;
    judgement.ExpectedRmsMm = map.RmsMm;
    judgement.ExpectedWorstInsideMm = map.WorstInsideMm;
    judgement.ExpectedWorstEdgeMm = map.WorstEdgeMm;
    judgement.ExpectedWorstMm = std::max(map.WorstInsideMm, map.WorstEdgeMm);
    return true;
}

}  // namespace

FitGateLimits FitGateLimitsFor(int32_t controllerMin, int32_t controllerMax, double maxFitResidual,
                               double maxTouchScatter) {
    FitGateLimits limits;
    limits.ControllerMin = controllerMin;
    limits.ControllerMax = controllerMax;
    limits.MaxResidualPixels = maxFitResidual;
    limits.MaxScatterMm = maxTouchScatter;
    return limits;
}

int32_t PlaceOnArea(double x, double y, double width, double height) {
    const auto third = [](double at, double side) {
        return side > 0.0 && at >= side / 3 ? (at >= 2 * side / 3 ? 2 : 1) : 0;
    };
    return third(y, height) * 3 + third(x, width);
}

FitJudgement JudgeFit(const CalibrationFit& fit, const FitGateLimits& limits) {
    FitJudgement judgement;
    judgement.BoundPixels = limits.MaxResidualPixels;
    const GridResiduals residuals = ComputeGridResiduals(fit);
    judgement.RmsPixels = residuals.RmsPixels;
    judgement.MaxPixels = residuals.MaxPixels;
    judgement.Rank = fit.FinalRank;
    judgement.BoundScatterMm = limits.MaxScatterMm;
    if (fit.Config != nullptr && fit.Parameters != nullptr) {
        const TouchJudgement touches = JudgeTouches(
            JudgeInputFor(*fit.Config, *fit.Parameters, fit.MonitorWidth, fit.MonitorHeight));
        judgement.ScatterMm = touches.ScatterMm;
        judgement.ExpectedRmsMm = touches.ExpectedRmsMm;
        judgement.ExpectedWorstMm = touches.ExpectedWorstMm;
    }
    if (fit.LastStatus != FitStatus::Fitted || fit.Config == nullptr)
        judgement.Verdict = FitVerdict::FitFailed;
    else if (!TouchesInRange(*fit.Config, limits))
        judgement.Verdict = FitVerdict::TouchOutOfRange;
    else if (judgement.Rank < fit.TermCount)
        judgement.Verdict = FitVerdict::RankDeficient;
    else if (!FitFieldsFitRecord(fit))
        judgement.Verdict = FitVerdict::RecordOverflow;
    else if (limits.MaxScatterMm > 0.0 && !(judgement.ScatterMm <= limits.MaxScatterMm))
        judgement.Verdict = FitVerdict::ScatterTooLarge;
    else if (limits.MaxResidualPixels > 0.0 && !(residuals.RmsPixels <= limits.MaxResidualPixels))
        judgement.Verdict = FitVerdict::ResidualTooLarge;
    else
        judgement.Verdict = FitVerdict::Sound;
    if (judgement.Verdict != FitVerdict::Sound) return judgement;
    if (!AddExpectedErrorMap(fit, judgement))
        judgement.Verdict = FitVerdict::ExpectedErrorTooLarge;
    else if (judgement.ExpectedWorstMm > kMostExpectedWorstMm &&
             std::isfinite(judgement.ExpectedWorstInsideMm))
        judgement.Verdict = FitVerdict::ExpectedErrorTooLarge;
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
    {L"the touches scatter by more than MaxTouchScatter", "scatter-too-large"},
    {L"touches disagree with the others", "touches-disagree"},
    {L"the calibration is expected to miss by more than 5 mm", "expected-error-too-large"},
    {L"a check touch away from the grid was missed, even after refitting", "check-missed"},
};
static_assert(std::size(kVerdictWords) == size_t(FitVerdict::CheckMissed) + 1);

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
