// Random sensors of each family, drawn (seeded, reproducibly) within the ranges published for
// real panels.
#pragma once

#include <cstdint>

#include "bench/accuracy/sensor_families.h"

enum class SensorFamily {
    Tilted,      // perspective of a tilted overlay or frame
    Bow,         // barrel or pincushion of a resistive sheet
    Corner,      // a nonlinearity growing into the corners
    Nonuniform,  // a non-uniform sheet: smooth, irregular
    Swapped,     // axes swapped or mirrored by the cabling, with a bow
    EdgePull,    // projected capacitive: pulled in at the edges, wobbling between electrodes
    Sawtooth,    // an infrared frame's sawtooth between LEDs
    Mounting,    // the mounting alone
};

inline constexpr SensorFamily kSensorFamilies[] = {
    SensorFamily::Tilted,  SensorFamily::Bow,      SensorFamily::Corner,   SensorFamily::Nonuniform,
    SensorFamily::Swapped, SensorFamily::EdgePull, SensorFamily::Sawtooth, SensorFamily::Mounting};

// tilted, bow, corner, nonuniform, swapped, edgepull, sawtooth, mounting.
const char* SensorFamilyName(SensorFamily family);

// A sensor of the family on the panel: the family's distortion, a mounting (gain within 3 %,
// rotation within 3 degrees, offset within 5 mm), and a controller of 10, 12 or 16 bits whose
// range the screen covers 15 to 95 % of.
DrawnSensor DrawSensor(SensorFamily family, uint32_t seed, const PanelSize& panel);
