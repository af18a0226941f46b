// A calibration record rebuilt from its fields as an export gives them (tarnix-history's
// record_json), every byte outside the named fields zero.
#pragma once

#include <optional>

#include "driver/quva_records.h"
#include "tools/tool_json/json_value.h"

// Nothing when a field is missing, not an integer of 32 bits, or an array of the wrong length.
std::optional<CalibrationDataRecord> RecordFromFields(const JsonValue& fields);
