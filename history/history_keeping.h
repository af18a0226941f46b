// Keeping an accepted pass in the history, and the drift since the last entry of its area, as the
// calibration window uses them.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "driver/quva_records.h"
#include "fit/calibration_fit.h"
#include "history/history_config.h"
#include "history/record_drift.h"

// What keeping one accepted pass did: the entry's name, or why there is none; the entries the
// bound removed.
struct KeptHistory {
    std::optional<std::string> Name;
    std::string Problem;
    std::vector<std::string> Removed;
};

// Writes the entry of a pass whose record was sent (marked accepted as facts say) (the fit linked
// to config and parameters) into folder, numbered next in the folder's sequence and named by
// facts.Time (the caller's clock), then keeps the entries of each screen written last. A record
// without a fit (type '7') is not kept. Never throws.
KeptHistory KeepHistoryEntry(const std::wstring& folder, const CalibrationDataRecord& record,
                             const CalibrationFit& fit, const CalibrationConfig& config,
                             const ControllerParameters& parameters, const HistoryFacts& facts);

// The move since the calibration the driver held for the screen and area.
struct DriftNotice {
    double MaxMm = 0.0;
    std::string Since;  // the entry's date, "2026-12-09 13:45:10"
    std::string Entry;  // the entry's name
    bool AboveBound = false;
};

// The move since the entry the driver holds for the record's screen (or, where that one is of
// another area, the entry of the area written last). Nothing when the folder holds no entry of
// the record's screen and area, or the two cannot be compared. Never throws.
std::optional<DriftNotice> DriftSinceLastEntry(const std::wstring& folder,
                                               const CalibrationDataRecord& record,
                                               const GlassScale& scale, double boundMm);
