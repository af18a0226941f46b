// The window's asking again, as a bench sees it: the judge's suspects touched again, judged anew
// after each bad touch it caught.
#pragma once

#include "bench/accuracy/pass_touches.h"
#include "config/controller_parameters.h"

struct AskedTouching {
    PassTouching Touching;  // its bad touches caught are gone: touched again as aimed
    bool AnyNamed = false;  // the judge named a suspect, bad or honest
    int BadNamed = 0;       // bad touches caught
    bool TooMany = false;   // more targets named than the window asks: it refuses the pass
};

// The touching after the window has asked the judge's suspects again. A bad touch named is
// touched again as aimed; an honest one named is touched again where it was (the bench's hand
// repeats it). Where a bad touch's miss is farther than the window tells from the scatter, the miss
// is confirmed: the window asks its partners (neighbours the fit without both misses its way),
// judges again and asks what that judgement names, within its limit of targets. c holds the
// touches of the result.
AskedTouching AskSuspectsAgain(const PassTouching& touching, CalibrationConfig& c,
                               const ControllerParameters& parameters);
