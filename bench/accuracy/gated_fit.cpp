// The fit of a touched pass as the program makes it, and the calibration window's quality gate.
#include "bench/accuracy/gated_fit.h"

#include "tools/tarnix_fit/model_runners.h"

GatedFit FitTouchedPass(CalibrationConfig& c, ControllerParameters& parameters,
                        const ScreenRect& screen) {
    GatedFit gated;
    gated.Fit = CreateCalibrationFit(c.PolynomialOrder, c.ModelKind, int32_t(c.NumGridPoints));
    CalibrationFit& fit = *gated.Fit;
    LinkCalibrationFit(fit, c, parameters);
    fit.MonitorWidth = screen.width;
    fit.MonitorHeight = screen.height;
    const ModelRunner* runner = FindModelRunner(c.ModelKind);
    gated.Fitted = runner != nullptr && runner->Run(fit) != 0;
    if (!gated.Fitted) return gated;
    gated.Gate = JudgeFit(fit, FitGateLimitsFor(parameters.ControllerMin, parameters.ControllerMax,
                                                c.MaxFitResidual, c.MaxTouchScatter));
    return gated;
}
