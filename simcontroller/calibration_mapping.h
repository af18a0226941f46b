// Applies a calibration record to raw touches the way the driver does: polynomial over normalised
// counts, then the pixel of the area.
#pragma once

#include <cstdint>

#include "driver/quva_records.h"
#include "driver/record_mapping.h"

// The screen point (virtual-desktop pixels) of a raw 16-bit touch under the record: the counts
// shifted right by 4 are mapped by the record (MapRecordCounts), and (x + 0.5) x width + left
// gives the pixel. False when the record has no mapping.
bool ApplyCalibrationRecord(const CalibrationDataRecord& record, int32_t rawX, int32_t rawY,
                            double* screenX, double* screenY);
