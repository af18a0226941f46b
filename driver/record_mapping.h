// The mapping the touch driver applies with a calibration record: the record's polynomial over
// controller counts normalised by its offset and inverse scale, giving the position on its area.
#pragma once

#include <cstdint>

#include "driver/quva_records.h"

// The number of polynomial terms of an order 1..7, 0 for any other order.
int32_t PolynomialTermsForOrder(int32_t order);

// True when the record holds a usable mapping (order 1..7, non-zero inverse scale, non-empty area).
bool RecordHasMapping(const CalibrationDataRecord& record);

// Controller counts (raw >> 4) normalised: (counts - ControllerOffset) / InverseScaleFactor.
double NormalisedRecordCounts(const CalibrationDataRecord& record, double counts);

// The mapping at normalised counts (v, w): the normalised screen position (x, y), -0.5 .. 0.5 over
// the area, and its partial derivatives by v and w.
struct RecordMappingPoint {
    double X = 0.0, Y = 0.0;
    double XdV = 0.0, XdW = 0.0, YdV = 0.0, YdW = 0.0;
};

// The record's polynomials: coefficients / 16384, terms v^(d-k) w^k by degree d, powers by
// repeated multiplication; all 0 for an order outside 1..7.
RecordMappingPoint EvaluateRecordMapping(const CalibrationDataRecord& record, double v, double w);

// The normalised screen position (x, y) of controller counts (v, w) under the record; false when
// the record has no mapping. The mini-target corrections are not part of it (the driver applies
// them in its own way).
bool MapRecordCounts(const CalibrationDataRecord& record, double v, double w, double& x, double& y);
