// tarnix-history: list, show and compare the kept calibrations, and send one back to the driver.
#pragma once

#include <string>
#include <vector>

enum HistoryExit : int {
    kHistoryDone = 0,
    kHistoryAboveBound = 1,  // drift: the move exceeds MaxDrift of the newer entry
    kHistoryUsage = 2,
    kHistoryBadEntry = 3,     // no such entry, an unreadable one, or nothing to compare or restore
    kHistoryRefused = 4,      // restore: the monitor's area is not the entry's rectangle now
    kHistoryNoDriver = 5,     // restore: no driver or no touch screen of the entry's index
    kHistoryInternal = 6,     // out of memory or an unexpected failure
    kHistoryNoFolder = 7,     // the history folder is missing (one named by --folder) or unreadable
    kHistoryCalibrating = 8,  // restore: Tarnix is running, and would commit over the record
};

// The whole program on its arguments (after the program name); the exit status.
int RunTarnixHistory(const std::vector<std::wstring>& args);
