// A simulated person touching targets: each touch lands off the aimed point by a seeded Gaussian
// scatter in millimetres on the glass.
#pragma once

#include <cstdint>

#include "simcontroller/sensor_model.h"

// How a person touches one screen. The panel's physical size turns millimetres into pixels (a
// 15.6-inch 16:9 panel by default).
struct SimulatedPerson {
    double scatterMm = 0.0;  // standard deviation per axis; 0: a perfect toucher
    double panelWidthMm = 344.2;
    double panelHeightMm = 193.6;
    uint32_t seed = 1;  // seed of the generator the caller makes (SensorNoise(seed))
};

// Moves the aimed screen pixel point (x, y) of a screen of widthPx x heightPx pixels to where the
// person's touch lands, drawing two Gaussian numbers from random (none when the scatter is 0).
void PerturbTouchPoint(const SimulatedPerson& person, int32_t widthPx, int32_t heightPx,
                       SensorNoise& random, double* x, double* y);
