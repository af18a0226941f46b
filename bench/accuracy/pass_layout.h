// A configuration file's target layout, read once as the program reads it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "config/calibration_config.h"
#include "config/controller_parameters.h"

// Grid, targets, model and checks of one file.
struct PassLayout {
    ControllerParameters Parameters;
    std::unique_ptr<CalibrationConfig> Config;
    uint32_t Touches = 0;  // grid targets plus enabled mini targets
};

// Reads the layout of a configuration file; null when the file gives no usable grid.
std::unique_ptr<PassLayout> ReadPassLayout(const std::filesystem::path& cfg);

// Whether entry i of the layout's touches is touched in a pass: a grid target or an enabled mini
// target.
bool IsTouched(const CalibrationConfig& c, uint32_t i);
