// The calibration record last sent to the driver, kept for the history: the commit notes it, and
// Accept and the result text of the window read it.
#pragma once

#include <cstdint>

#include "driver/quva_records.h"

void NoteCommittedRecord(const CalibrationDataRecord& record);

// The last record noted and its serial (1 for the first of the process); false before any.
bool LastCommittedRecord(CalibrationDataRecord& record, uint64_t& serial);
