// The fit of a finished pass, chosen by the model kind, and the words that explain a refusal.
#include "app/pass_fit.h"

#include <new>

#include "config/debug_trace.h"
#include "fit/polynomial_fit.h"
#include "laplace/laplace_fit.h"

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

std::wstring FitRefusalExplanation(FitStatus status) {
    std::wstring text = L"No calibration was written: ";
    text += FitStatusText(status);
    text += L". The previous calibration is kept. Touch Retry to calibrate again.";
    return text;
}
