// Normalisation of touches and targets, and the fit input report "SvdFitInputs.txt".
#include "fit/fit_inputs.h"

#include <cmath>

#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "platform/report_file.h"

uint32_t DataPointCount(const CalibrationConfig& config) {
    return config.NumGridPoints + (config.HasMiniTargets ? kFitMiniTargets : 0);
}

double NormalisedTouch(const CalibrationFit& fit, double raw) {
    return (raw - fit.ControllerOffset) * fit.ScaleFactor;
}

double NormalisedTargetX(const CalibrationConfig& config, double x) {
    return (x - config.OriginX) / config.RangeX;
}

double NormalisedTargetY(const CalibrationConfig& config, double y) {
    return (y - config.OriginY) / config.RangeY;
}

void NormaliseFitData(CalibrationFit& fit, uint32_t n) {
    const CalibrationConfig& c = *fit.Config;
    fit.TargetX = Vector(n);
    fit.TargetY = Vector(n);
    fit.TouchV = Vector(n);
    fit.TouchW = Vector(n);
    fit.ControllerOffset = GetControllerOffset(*fit.Parameters);
    fit.ScaleFactor = GetScaleFactor(*fit.Parameters);
    for (uint32_t i = 0; i < n; ++i) {
        fit.TouchV[i] = NormalisedTouch(fit, c.Touches[i].V);
        fit.TouchW[i] = NormalisedTouch(fit, c.Touches[i].W);
        fit.TargetX[i] = NormalisedTargetX(c, c.Targets[i].X);
        fit.TargetY[i] = NormalisedTargetY(c, c.Targets[i].Y);
    }
}

bool NormalisedDataFinite(const CalibrationFit& fit, uint32_t n) {
    return std::isfinite(fit.ControllerOffset) && std::isfinite(fit.ScaleFactor) &&
           AllFinite(fit.TouchV, n) && AllFinite(fit.TouchW, n) && AllFinite(fit.TargetX, n) &&
           AllFinite(fit.TargetY, n);
}

void WriteFitInputReport(const CalibrationFit& fit, uint32_t n) {
    const CalibrationConfig& c = *fit.Config;
    ReportFile report(L"SvdFitInputs.txt");
    if (!report.IsOpen()) return;
    report.Printf("Scale Factor      = %15.7f\n", fit.ScaleFactor);
    report.Printf("Controller Offset = %15.5f\n", fit.ControllerOffset);
    report.Printf("Origin X = %15.5f, Range X = %15.5f\n", c.OriginX, c.RangeX);
    report.Printf("Origin Y = %15.5f, Range Y = %15.5f\n", c.OriginY, c.RangeY);
    report.Printf("           V(n)             W(n)\n");
    report.Printf("=============== ================\n");
    for (uint32_t i = 0; i < n; ++i)
        report.Printf("%15.5f  %15.5f  \n", fit.TouchV[i], fit.TouchW[i]);
    report.Printf("\n");
    report.Printf("           X(n)             Y(n)\n");
    report.Printf("=============== ================\n");
    for (uint32_t i = 0; i < n; ++i)
        report.Printf("%15.5f  %15.5f  \n", fit.TargetX[i], fit.TargetY[i]);
    report.Printf("\n");
    report.Printf("\n");
}
