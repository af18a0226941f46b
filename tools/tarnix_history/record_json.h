// A calibration record's fields as one JSON object, every field by the name tarnix-fit --decode
// gives it, with the values stored in the record.
#pragma once

#include <string>

#include "driver/quva_records.h"

std::string RecordJson(const CalibrationDataRecord& record);
