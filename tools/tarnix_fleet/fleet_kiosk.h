// One kiosk's touch screen as the fleet report tells of it: read from its machine's export, then
// compared with its siblings of the same monitor model.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "driver/quva_records.h"

// A calibration of the kiosk's history: its date and how far its mapping had moved since the
// first calibration of the area (nothing for the first, or where it cannot be compared).
struct FleetChartPoint {
    std::optional<std::string> Date;
    std::optional<double> DriftSinceFirstMm;
};

struct FleetKiosk {
    std::string Machine;
    std::string Source;  // the export file it came from
    int32_t Screen = 0;
    std::optional<std::string> Maker, Model, Serial;
    double GlassWidthMm = 0.0, GlassHeightMm = 0.0;

    // The calibration the driver holds (else the newest): its entry, date, accuracy and drift.
    std::string LastEntry;
    std::optional<std::string> LastDate;
    std::optional<double> AccuracyMm;
    std::optional<double> DriftSinceFirstMm, DriftSincePreviousMm;
    bool LastAccepted = true;
    bool LastLive = false;
    std::optional<CalibrationDataRecord> Record;
    int32_t Calibrations = 0;
    std::vector<FleetChartPoint> Chart;

    // Entries of the kind "verification": how many, the newest one's date and result.
    int32_t Verifications = 0;
    std::optional<std::string> LastVerificationDate;
    std::optional<bool> LastVerificationPassed;

    // The comparison with the siblings: the largest distance on the glass between where this
    // kiosk and the model's typical mapping put a touch; nothing when not compared.
    std::optional<double> SiblingDeviationMm;
    int32_t Siblings = 0;  // kiosks of the model compared, this one included
    bool DiffersFromSiblings = false;
};

// "Maker Model", or nothing when the export does not name the model.
std::optional<std::string> ModelKey(const FleetKiosk& kiosk);
