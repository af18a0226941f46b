// The fleet report as one self-contained HTML page: inline CSS and SVG, no scripts.
#pragma once

#include <string>

#include "tools/tarnix_fleet/fleet_report.h"

std::string FleetHtml(const FleetReport& report);
