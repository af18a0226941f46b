// The sensor of one pass of the family bench: a drawn sensor of a family, or one of the stand-in
// controller's own sensors.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <variant>
#include <vector>

#include "bench/accuracy/sensor_draws.h"
#include "config/controller_parameters.h"
#include "fit/glass_scale.h"

using PassSensor = std::variant<DrawnSensor, SensorParameters>;

struct BenchFamily {
    std::string Name;                   // the family's, or "stand-in:" and the sensor's
    std::optional<SensorFamily> Drawn;  // none: the stand-in sensor below
    SensorParameters StandIn;
};

// Every drawn family, then the stand-in's default, bowed, edge-compressed and rotated+offset.
std::vector<BenchFamily> BenchFamilies();

// Whether one of the names picks the family: its own name, or "stand-in" for the stand-in's.
bool FamilyPicked(const BenchFamily& family, const std::vector<std::string>& names);

// The sensor of a pass: a fresh draw of a drawn family, the stand-in's sensor as it is.
PassSensor SensorOfPass(const BenchFamily& family, uint32_t seed, const PanelSize& panel);

// The touch the program stores (raw counts shifted right by 4) for a point of the screen.
RawPoint StoredTouch(const PassSensor& sensor, const ScreenRect& screen, const PanelSize& panel,
                     double x, double y);

// Sets ControllerMin and ControllerMax as a file for a drawn sensor's controller gives them; the
// stand-in keeps the file's.
void SetControllerRange(const PassSensor& sensor, ControllerParameters& parameters);
