// The verification window of one touch screen: it covers the area of the calibration the driver
// holds, shows a target at each place in turn while its touch thread takes one raw touch per
// place, then shows the verdict and, when not within the requirement, offers to calibrate.
#pragma once

#include <windows.h>

#include <functional>
#include <string>

#include "app/verify_plan.h"

struct VerifyWindowResult {
    bool Measured = false;  // every place was touched
    VerificationResult Result;
    bool Calibrate = false;  // the person chose to calibrate
};

// Runs the window modally. Once every place is touched, measured gets the result and returns the
// verdict in English, which the window shows where the language library has no text of its own.
VerifyWindowResult RunVerifyWindow(
    HINSTANCE instance, const VerifyPlan& plan,
    const std::function<std::wstring(const VerificationResult&)>& measured);

// A window over the primary monitor with one line and a Close button, for a screen that cannot be
// verified: the text textId of the language library with the screen's number, else english. It
// closes by itself after a few seconds.
void ShowVerifyLine(HINSTANCE instance, UINT textId, int32_t screen, const std::wstring& english);
