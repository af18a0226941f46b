// What becomes of a calibration the driver got that nobody accepted: the kept calibration that
// leaving the Finished screen without Accept puts back, and what the screen says beforehand.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "history/history_folder.h"

// "RevertUnaccepted" of "Tarnix.cfg": 1 (any value but 0) puts the area's previous accepted
// calibration back when a finished pass is left without Accept; absent or 0 leaves the new one in
// the driver.
bool ReadRevertUnaccepted(const wchar_t* cfgPath);

// What the Finished screen says of the new calibration, already in the driver.
enum class FinishedNotice {
    InUse,            // it stays whatever the person does (RevertUnaccepted off)
    InUseUntilLeft,   // only Accept keeps it; leaving otherwise puts the previous one back
    InUseNoPrevious,  // RevertUnaccepted on, but no earlier accepted calibration is known: it stays
};

// Decided when a pass's record went to the driver: its entry (nothing when none could be kept),
// the entry to put back when the pass is left without Accept (nothing: the new one stays), and
// what the screen says.
struct UnacceptedPlan {
    std::optional<std::string> NewEntry;
    std::optional<HistoryEntry> PutBack;
    FinishedNotice Notice = FinishedNotice::InUse;
};

// The plan for record, sent to the driver and kept as newEntry among entries (oldest first):
// with revert on, the newest accepted entry of its screen and area written before it.
UnacceptedPlan PlanUnaccepted(bool revert, const std::vector<HistoryEntry>& entries,
                              const CalibrationDataRecord& record,
                              const std::optional<std::string>& newEntry);

// The line of the trace and the report when the pass is left without Accept: what the driver
// holds now.
std::string LeftUnacceptedLine(const UnacceptedPlan& plan);
