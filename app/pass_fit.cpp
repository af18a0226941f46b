// The fit of a finished pass, chosen by the model kind, and the text that explains a refusal.
#include "app/pass_fit.h"

#include <algorithm>
#include <cmath>
#include <new>

#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "fit/polynomial_fit.h"
#include "laplace/laplace_fit.h"
#include "platform/debug_trace.h"
#include "resources/resource_ids.h"

bool RunPassFit(CalibrationFit& fit, int32_t areaWidth, int32_t areaHeight) {
    fit.MonitorHeight = areaHeight;
    fit.MonitorWidth = areaWidth;
    int fitted = 0;
    try {
        if (IsLaplaceModel(fit.ModelKind)) {
            fitted = RunLaplaceFit(fit);
        } else if (PreparePolynomialFit(fit)) {
            fitted = RunPolynomialFit(fit);
        }
    } catch (const std::bad_alloc&) {
        fit.LastStatus = FitStatus::OutOfMemory;
    }
    const bool usable = fitted != 0 && fit.LastStatus == FitStatus::Fitted;
    if (!usable)
        DebugPrint(
            L"Tarnix.exe: the fit of model kind %u refused the pass (%s); the driver keeps "
            L"its calibration",
            fit.ModelKind, FitStatusText(fit.LastStatus));
    return usable;
}

FitJudgement JudgePass(const CalibrationFit& fit) {
    const FitGateLimits limits =
        FitGateLimitsFor(fit.Parameters->ControllerMin, fit.Parameters->ControllerMax,
                         fit.Config->MaxFitResidual, fit.Config->MaxTouchScatter);
    FitJudgement judgement = JudgeFit(fit, limits);
    DebugPrint(
        L"Tarnix.exe: the fit of the pass: %s (scatter %.2f mm, bound %.2f mm; a new touch "
        L"%.2f mm RMS, %.2f mm at worst; RMS %.3f px, max %.3f px at the grid targets, bound "
        L"%.3f px, rank %d of %d)",
        FitVerdictText(judgement.Verdict), judgement.ScatterMm, judgement.BoundScatterMm,
        judgement.ExpectedRmsMm, judgement.ExpectedWorstMm, judgement.RmsPixels,
        judgement.MaxPixels, judgement.BoundPixels, judgement.Rank, fit.TermCount);
    if (judgement.Verdict != FitVerdict::Sound)
        DebugPrint(L"Tarnix.exe: %s", L"the pass was refused: the driver keeps its calibration");
    else if (std::isfinite(judgement.ExpectedWorstInsideMm))
        DebugPrint(
            L"Tarnix.exe: expected error of the calibration: %.2f mm RMS, at worst %.2f mm inside "
            L"(3.5 mm or more from every edge), %.2f mm at the edges",
            judgement.ExpectedRmsMm, judgement.ExpectedWorstInsideMm,
            judgement.ExpectedWorstEdgeMm);
    return judgement;
}

uint32_t RefusalTextId(const FitJudgement& judgement) {
    switch (judgement.Verdict) {
        case FitVerdict::Sound:
            return 0;
        case FitVerdict::FitFailed:
            return IDS_REFUSED_FIT_FAILED;
        case FitVerdict::TouchOutOfRange:
            return IDS_REFUSED_OUT_OF_RANGE;
        case FitVerdict::RankDeficient:
            return IDS_REFUSED_RANK;
        case FitVerdict::RecordOverflow:
            return IDS_REFUSED_OVERFLOW;
        case FitVerdict::ResidualTooLarge:
            return IDS_REFUSED_RESIDUAL;
        case FitVerdict::ExpectedErrorTooLarge:
            return IDS_REFUSED_EXPECTED;
        case FitVerdict::ScatterTooLarge:
            return IDS_REFUSED_SCATTER;
        case FitVerdict::TouchesDisagree:
            return IDS_REFUSED_DISAGREE_FIRST + uint32_t(std::clamp(judgement.Region, 0, 8));
        case FitVerdict::CheckMissed:
            return IDS_REFUSED_CHECK_FIRST + uint32_t(std::clamp(judgement.Region, 0, 8));
    }
    return IDS_REFUSED_FIT_FAILED;
}
