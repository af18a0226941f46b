// A monitor model's typical calibration record: the record of its most typical kiosk with every
// coefficient the median over the model's kiosks of the same mapping kind, for seeding a new kiosk
// of the model.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/tarnix_fleet/fleet_kiosk.h"

struct TypicalRecord {
    CalibrationDataRecord Record{};
    const FleetKiosk* Base = nullptr;  // the kiosk whose record was the starting point
    int32_t Kiosks = 0;                // kiosks whose coefficients entered the medians
};

// Of kiosks already compared with their siblings (CompareWithSiblings): the base is the model's
// kiosk with the smallest deviation; the medians are over the model's kiosks whose record has the
// base's order, kind, controller offset and scale. The mini-target corrections, which belong to
// one sensor, are left out (zero). Nothing when the model has no compared kiosk.
std::optional<TypicalRecord> TypicalRecordOf(const std::vector<FleetKiosk>& kiosks,
                                             const std::string& model);
