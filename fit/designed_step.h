// The step of a designed layout of targets: how far apart its targets are meant to be.
#pragma once

#include <vector>

#include "fit/glass_scale.h"

// The median over the targets of the distance to the nearest other target (targets closer than
// half a pixel are one), so that one target out of line does not set it; 0 when there are fewer
// than two targets.
double DesignedStep(const std::vector<ScreenPoint>& targets);
