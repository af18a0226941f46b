// Whether a kept record still fits the screen: its monitor must still lay out an area of the very
// rectangle the record was made for (the monitor itself, or one of its tiles).
#pragma once

#include <string>
#include <vector>

#include "display/monitors.h"
#include "display/tile_layout.h"
#include "driver/quva_records.h"

// Empty when the record's area is one of its monitor's areas now; else the one-line reason.
std::string AreaMismatch(const CalibrationDataRecord& record,
                         const std::vector<MonitorRect>& monitors,
                         const std::vector<VideoMode>& modes);
