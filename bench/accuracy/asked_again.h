// The window's asking again, as a bench sees it: the program's own AskAgain decides after the last
// touch, and the person touches each target it asks again.
#pragma once

#include "bench/accuracy/pass_touches.h"
#include "config/controller_parameters.h"

struct AskedTouching {
    PassTouching Touching;  // its bad touches asked are gone: touched again as aimed
    bool AnyNamed = false;  // the window asked a target again, bad or honest
    int BadNamed = 0;       // bad touches asked again
    bool Refused = false;   // touches kept disagreeing, or too many targets: the window refuses
};

// The touching after the window has asked its targets again (c holds the touches of the result).
// A target asked is touched again by the person with fresh scatter, as aimed: a bad touch asked
// is not repeated.
AskedTouching AskSuspectsAgain(const PassTouching& touching, CalibrationConfig& c,
                               const ControllerParameters& parameters);
