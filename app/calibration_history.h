// The calibration window's use of the history: an accepted pass kept, and the drift since the
// last entry of its area shown with the result.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/pass_sequencer.h"
#include "config/controller_parameters.h"
#include "fit/calibration_fit.h"

// Accept: keeps the record the pass sent and its configuration under the report folder's
// "History", then the newest 20 of each screen. Traces what it did; a failure changes nothing
// else.
void KeepAcceptedPass(const PassView& view, const CalibrationFit* fit,
                      const CalibrationConfig* config, const ControllerParameters* parameters);

// The finished state of a sound pass: "Moved at most X mm since <date>" and, above the bound
// "MaxDrift", the warning line (each on a line of its own, led by a line end); empty when the
// history holds no earlier entry of the screen and area. text gives the window's texts by id.
std::wstring FinishedDriftText(const PassView& view, const CalibrationConfig* config,
                               const ControllerParameters* parameters,
                               const std::function<std::wstring(UINT)>& text);
