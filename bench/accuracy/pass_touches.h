// How a pass is touched: a person aims at each target as drawn, with scatter and perhaps a bad
// touch, through a sensor; and the true error of a mapping fitted to those touches.
#pragma once

#include <vector>

#include "bench/accuracy/bad_touches.h"
#include "bench/accuracy/pass_sensor.h"
#include "fit/calibration_fit.h"
#include "simcontroller/simulated_person.h"

struct PassTouching {
    PassSensor Sensor;
    SimulatedPerson Person;
    std::vector<BadTouch> Bad;
    ScreenRect Screen;
    PanelSize Panel;
};

// The person's touches of every target of the configuration, stored as the program stores them.
void TouchTargets(const PassTouching& touching, CalibrationConfig& c);

// One touch of target i (0-based) by the person's hand, aimed at its drawn pixel, off by the bad
// touch's millimetres if it is one.
RawPoint TouchOfTarget(const PassTouching& touching, const CalibrationConfig& c, uint32_t i,
                       SensorNoise& hand);

// The fitted mapping against the sensor's truth at points from edge to edge.
AccuracyZones TrueError(const PassTouching& touching, const CalibrationFit& fit,
                        const CalibrationConfig& c);
