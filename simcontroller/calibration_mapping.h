// Applies a calibration record to raw touches the way the driver does: polynomial over normalised
// counts.
#pragma once

#include <cstdint>

#include "driver/quva_records.h"

// The number of polynomial terms of an order 1..7, 0 for any other order.
int32_t PolynomialTermsForOrder(int32_t order);

// True when the record holds a usable mapping (order 1..7, non-zero scale, non-empty area).
bool RecordHasMapping(const CalibrationDataRecord& record);

// The screen point (virtual-desktop pixels) of a raw 16-bit touch under the record: the counts
// shifted right by 4 are normalised with the record's controller offset and inverse scale, the
// polynomial (coefficients / 16384, terms v^(d-k) w^k by degree d) gives the normalised screen
// position, and (x + 0.5) x width + left gives the pixel. False when the record has no mapping.
bool ApplyCalibrationRecord(const CalibrationDataRecord& record, int32_t rawX, int32_t rawY,
                            double* screenX, double* screenY);
