// The fleet report as one JSON document (tarnix-fleet --json).
#pragma once

#include <string>

#include "tools/tarnix_fleet/fleet_report.h"

inline constexpr int kFleetSummarySchemaVersion = 1;

std::string FleetJson(const FleetReport& report);
