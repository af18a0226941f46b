// A simulated person touching targets: each touch lands around its aim with a Gaussian scatter
// per axis, in millimetres on the glass, from a seeded generator (the same on every build).
#pragma once

#include <cstdint>

#include "simcontroller/sensor_model.h"

struct SimulatedPerson {
    double ScatterMm = 1.0;       // standard deviation per axis
    double PanelWidthMm = 344.2;  // the glass of the screen touched (15.6 inch, 16:9)
    double PanelHeightMm = 193.6;
    uint32_t Seed = 1;
};

// One person's hand: its touches in order.
class PersonHand {
  public:
    explicit PersonHand(const SimulatedPerson& person) : person_(person), noise_(person.Seed) {}
    // Moves (x, y), the pixel point aimed at on a screen of width x height pixels, to where the
    // finger lands.
    void Touch(int32_t width, int32_t height, double& x, double& y);

  private:
    SimulatedPerson person_;
    SensorNoise noise_;
};
