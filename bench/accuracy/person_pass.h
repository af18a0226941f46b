// One simulated calibration pass by a person: a layout read as the program reads it, touched with
// scatter through a sensor, fitted as the program fits, and judged by zone in millimetres.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "config/calibration_config.h"
#include "config/controller_parameters.h"
#include "simcontroller/error_field.h"
#include "simcontroller/simulated_person.h"

// A configuration file's layout, read once: grid, targets, model, checks.
struct PassLayout {
    ControllerParameters Parameters;
    std::unique_ptr<CalibrationConfig> Config;
    uint32_t Touches = 0;  // grid targets plus enabled mini targets
};

// Reads the layout of a configuration file; null when the file gives no usable grid.
std::unique_ptr<PassLayout> ReadPassLayout(const std::filesystem::path& cfg);

struct PassOutcome {
    bool Refused = false;  // the fit failed or the window's quality gate would refuse it
    AccuracyZones Zones;   // the fitted mapping against the sensor, edge to edge
};

// One pass on a screen of the given pixels and panel: the person's touches (seeded) through the
// noise-free sensor, the fit of the layout's model, and its error at points from edge to edge.
PassOutcome RunPersonPass(const PassLayout& layout, const SensorParameters& sensor,
                          const SimulatedPerson& person, const ScreenRect& screen,
                          const PanelSize& panel);
