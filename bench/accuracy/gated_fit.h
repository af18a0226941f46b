// The fit of a touched pass as the program makes it, and the calibration window's quality gate.
#pragma once

#include <memory>

#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "fit/calibration_fit.h"
#include "fit/fit_gate.h"
#include "simcontroller/sensor_model.h"

struct GatedFit {
    std::unique_ptr<CalibrationFit> Fit;  // linked to the configuration and parameters given
    bool Fitted = false;                  // the model's fit ran and gave coefficients
    FitJudgement Gate;                    // JudgeFit's, when fitted
    bool Sound() const { return Fitted && Gate.Verdict == FitVerdict::Sound; }
};

// Fits the touches of the configuration with the model it names, on a screen of the given size,
// and judges the fit with the configuration's bounds. The configuration and parameters must
// outlive the result.
GatedFit FitTouchedPass(CalibrationConfig& c, ControllerParameters& parameters,
                        const ScreenRect& screen);
