// One simulated calibration pass by a person: a layout read as the program reads it, touched with
// scatter through a sensor, fitted as the program fits, and judged by zone in millimetres.
#pragma once

#include "bench/accuracy/pass_layout.h"
#include "simcontroller/error_field.h"
#include "simcontroller/simulated_person.h"

struct PassOutcome {
    bool Refused = false;  // the fit failed or the window's quality gate would refuse it
    AccuracyZones Zones;   // the fitted mapping against the sensor, edge to edge
};

// One pass on a screen of the given pixels and panel: the person's touches (seeded) through the
// noise-free sensor, the fit of the layout's model, and its error at points from edge to edge.
PassOutcome RunPersonPass(const PassLayout& layout, const SensorParameters& sensor,
                          const SimulatedPerson& person, const ScreenRect& screen,
                          const PanelSize& panel);
