// The commit of a finished pass: the fitted calibration record handed to the touch driver.
#pragma once

#include <cstdint>

#include "app/area_list.h"
#include "driver/quva_records.h"
#include "fit/calibration_fit.h"

// Logs the area and the reference targets, asks the driver for the area's clip rectangles, sets
// its virtual full screen to the area, writes the packed record with byte 707 of the diagnostics
// and enables the screen. A fit that refused (for a controller whose record carries the fit)
// reaches nothing of the driver: false, and the driver keeps its previous calibration. Whatever
// throws does so before the first driver call.
bool CommitCalibration(const DiagnosticsRecord& diagnostics, const CalibrationArea& area,
                       int32_t screenIndex, const CalibrationFit* fit);

// The driver sequence of the commit for a packed record (a kept one, too): the clip rectangles of
// its monitor, the virtual full screen of its area and screen index, the log lines, the record
// with the calibration byte, and the screen enabled.
void SendCalibrationRecord(const CalibrationDataRecord& record, uint8_t calibrationByte);
