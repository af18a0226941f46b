// Test helper: fits a calibration record to the sensor model by least squares, as Tarnix would.
#pragma once

#include "driver/quva_records.h"
#include "simcontroller/sensor_model.h"

// A record of the given order for the area, fitted on a grid x grid of targets at the centres of
// equal cells (with the controller offset 2047.5 and scale 1/4095 of the default configuration).
CalibrationDataRecord FitRecordToSensor(const ScreenRect& area, const SensorParameters& sensor,
                                        int order, int grid);

// A record that maps the raw counts of a linear, offset-free sensor with gain 1 back exactly.
CalibrationDataRecord IdentityRecord(const ScreenRect& area);
