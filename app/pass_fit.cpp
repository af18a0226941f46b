// The fit of a finished pass, chosen by the model kind, and the text that explains a refusal.
#include "app/pass_fit.h"

#include <new>

#include "config/debug_trace.h"
#include "fit/polynomial_fit.h"
#include "laplace/laplace_fit.h"
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

uint32_t RefusalTextId(FitVerdict verdict) {
    switch (verdict) {
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
    }
    return IDS_REFUSED_FIT_FAILED;
}
