// tarnix-fleet: many kiosks' history exports read into one report, HTML or JSON.
#pragma once

#include <string>
#include <vector>

enum FleetExit : int {
    kFleetDone = 0,
    kFleetUsage = 2,
    kFleetNothingRead = 3,  // no export could be read
    kFleetCannotWrite = 4,
    kFleetInternal = 6,  // out of memory or an unexpected failure
};

// The whole program on its arguments (after the program name); the exit status.
int RunTarnixFleet(const std::vector<std::wstring>& args);
