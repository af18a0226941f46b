// Bad touches of a pass: none, one target missed by 6 to 10 mm, or two neighbouring targets at a
// corner both 6 mm off the same way, as a slanted stylus gives.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "config/calibration_config.h"

enum class BadTouches { None, One, Two };

struct BadTouch {
    uint32_t Target = 0;  // 0-based grid target index
    double DxMm = 0.0;    // how far off on the glass
    double DyMm = 0.0;
};

// "none", "one" or "two"; false for any other word.
bool ParseBadTouches(const std::string& word, BadTouches* kind);
const char* BadTouchesName(BadTouches kind);

// The bad touches of a pass on the configuration's grid (seeded).
std::vector<BadTouch> DrawBadTouches(BadTouches kind, const CalibrationConfig& c, uint32_t seed);
