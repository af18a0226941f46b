// Where the calibration window's texts go: clear of every target's square, the buttons and the
// countdown, as near their usual place as the layout allows.
#pragma once

#include <cstdint>
#include <vector>

#include "app/area_list.h"
#include "app/target_graphic.h"
#include "config/calibration_config.h"

// The squares (edges included) of the area's grid targets and of its enabled mini targets.
std::vector<PixelRect> TargetSquares(const CalibrationArea& area, const CalibrationConfig& config);

// Top of a text textWidth x textHeight centred across the area: preferredTop where the text
// keeps a pixel from every keep-out rectangle (edges included), else the nearest top that
// does and keeps the text inside the area; preferredTop where none does.
int32_t ClearTextTop(int32_t preferredTop, int32_t textWidth, int32_t textHeight, int32_t areaWidth,
                     int32_t areaHeight, const std::vector<PixelRect>& keepOut);
