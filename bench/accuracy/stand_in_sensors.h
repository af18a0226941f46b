// The stand-in controller's sensors the accuracy figures have always been measured on.
#pragma once

#include <vector>

#include "simcontroller/sensor_model.h"

struct NamedSensor {
    const char* name;
    SensorParameters sensor;
};

// default, bowed, edge-compressed and rotated+offset.
std::vector<NamedSensor> StandInSensors();
