// Tarnix.exe -V: verifies the calibration the driver holds on each touch screen (or the one -S
// names) with a few touches, and changes nothing in the driver.
#pragma once

#include <windows.h>

#include <cstdint>

#include "config/command_line.h"

// Exit statuses of a verification (kExitUnexpectedFailure, 3, stays that of a failure).
inline constexpr int kVerifyWithin = 0;     // every screen verified within the requirement
inline constexpr int kVerifyNotWithin = 1;  // a screen was not within it
inline constexpr int kVerifyNothing = 2;    // a screen had no calibration to verify, or was left

struct VerifyRunOutcome {
    int Status = kVerifyWithin;
    bool Calibrate = false;  // the person chose to calibrate a screen not within the requirement
};

// Verifies each of the driver's screens in turn (one touch screen when options name one); stops
// at the screen whose calibration the person chose to make.
VerifyRunOutcome RunVerification(HINSTANCE instance, const CommandLineOptions& options,
                                 int32_t screens);
