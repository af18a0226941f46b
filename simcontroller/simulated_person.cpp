// A simulated person touching targets: each touch lands off the aimed point by a seeded Gaussian
// scatter in millimetres on the glass.
#include "simcontroller/simulated_person.h"

#include <algorithm>

void PerturbTouchPoint(const SimulatedPerson& person, int32_t widthPx, int32_t heightPx,
                       SensorNoise& random, double* x, double* y) {
    if (person.scatterMm <= 0.0) return;
    const double pixelsPerMmX = std::max(1, widthPx) / person.panelWidthMm;
    const double pixelsPerMmY = std::max(1, heightPx) / person.panelHeightMm;
    *x += person.scatterMm * pixelsPerMmX * random.Gaussian();
    *y += person.scatterMm * pixelsPerMmY * random.Gaussian();
}
