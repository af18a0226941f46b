// What restore asks of the platform: the monitors as they are now, and the touch driver.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "display/monitors.h"
#include "driver/quva_records.h"

// The monitors in the platform's enumeration order (monitor number = position + 1).
std::vector<MonitorRect> CurrentMonitors();

// True while a copy of Tarnix runs (it holds its single-instance object).
bool TarnixIsRunning();

// True when the driver reports a touch screen of the index; else false with a one-line reason.
bool DriverHasScreen(int32_t screenIndex, std::string& error);

// Writes the record through the driver with the commit's sequence.
void SendRecordToDriver(const CalibrationDataRecord& record);
