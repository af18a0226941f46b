// The fleet report's content: every kiosk read, compared with its siblings and put in order, the
// ones that differ from their siblings first.
#pragma once

#include <string>
#include <vector>

#include "tools/tarnix_fleet/fleet_kiosk.h"

struct FleetModel {
    std::string Name;
    int32_t Kiosks = 0;
    int32_t Compared = 0;  // with a usable record; compared when kFewestSiblings or more
    int32_t Differing = 0;
};

struct FleetReport {
    std::vector<FleetKiosk> Kiosks;  // differing first (largest deviation first), then by machine
    std::vector<FleetModel> Models;  // by name; kiosks whose model is not known are in none
    std::vector<std::string> Problems;  // one line per export that could not be read
    double BoundMm = 0.0;
};

// Compares the kiosks with their siblings and orders them.
FleetReport BuildFleetReport(std::vector<FleetKiosk> kiosks, std::vector<std::string> problems,
                             double boundMm);

// The words the report gives a kiosk that differs from its siblings.
inline constexpr const char* kDiffersText = "the sensor or its mounting differs from its siblings";
