// The calibration window's use of the history: every record the driver got kept, marked accepted
// on Accept, the previous accepted calibration put back when RevertUnaccepted asks for it, and the
// drift since the calibration in use shown with the result.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/pass_sequencer.h"
#include "app/unaccepted_calibration.h"
#include "config/controller_parameters.h"
#include "display/monitor_glass.h"
#include "fit/calibration_fit.h"

// A sound pass's record reached the driver: measures the move since the calibration in use, keeps
// the record and its configuration under the report folder's "History" marked not accepted
// (then the newest 20 of each screen) and plans what leaving without Accept does. Once per record
// sent; traces what it did; a failure changes nothing else.
// The entry's header names the area's glass size and its monitor.
void KeepCommittedPass(const PassView& view, const CalibrationFit* fit,
                       const CalibrationConfig* config, const ControllerParameters* parameters,
                       const AreaGlass& glass);

// Accept: the entry of the record the driver got is marked accepted.
void AcceptCommittedPass();

// Retry, Esc, the countdown's end or a closed window while the record waits for Accept: with
// RevertUnaccepted, the previous accepted calibration of the area goes back to the driver. Traces
// and reports what the driver holds now.
void LeaveUnacceptedPass();

// What the Finished screen says of the record the driver got.
FinishedNotice FinishedNoticeOfPass();

// True after a calibration was put back, until the next record reaches the driver.
bool PreviousCalibrationPutBack();

// The finished state of a sound pass: where the screen was calibrated for another area until now,
// or is calibrated for the first time on one of several areas, the line that says so; "Moved at
// most X mm since <date>" and, above the bound "MaxDrift", the warning line (each on a line of its
// own, led by a line end); empty when the history held no calibration of the screen. text gives
// the window's texts by id.
std::wstring FinishedDriftText(const PassView& view, const CalibrationConfig* config,
                               const std::function<std::wstring(UINT)>& text);
