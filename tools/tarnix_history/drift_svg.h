// A picture of the move between two records over the area: one arrow per grid point.
#pragma once

#include <string>

#include "history/record_drift.h"

// SVG text of the area (glass millimetres, 1 unit = 1 mm) with an arrow at each sample from where
// the newer record puts a touch to where the earlier one put it, magnified so that the largest is
// 0.4 of the grid's step, and the caption under it in lines that fit its width.
std::string DriftSvg(const DriftResult& drift, const std::string& caption);
