// A kiosk's drift over time as a small inline SVG: the move since its first calibration at each
// calibration, the bound as a dashed line.
#pragma once

#include <string>

#include "tools/tarnix_fleet/fleet_kiosk.h"

// The chart's line colour, which the page's legend names.
inline constexpr const char* kDriftChartColour = "#1f6fd1";

std::string DriftChartSvg(const FleetKiosk& kiosk, double boundMm);
