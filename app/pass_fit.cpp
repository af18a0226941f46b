// The fit of a finished pass, chosen by the model kind, and the text that explains a refusal.
#include "app/pass_fit.h"

#include <algorithm>
#include <new>

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
        case FitVerdict::ScatterTooLarge:
            return IDS_REFUSED_SCATTER;
        case FitVerdict::TouchesDisagree:
            return IDS_REFUSED_DISAGREE_FIRST + uint32_t(std::clamp(judgement.Region, 0, 8));
    }
    return IDS_REFUSED_FIT_FAILED;
}
