// A simulated person's touches: Gaussian scatter in millimetres, turned into pixels of the screen.
#include "simcontroller/simulated_person.h"

void PersonHand::Touch(int32_t width, int32_t height, double& x, double& y) {
    const double dx = noise_.Gaussian() * person_.ScatterMm;
    const double dy = noise_.Gaussian() * person_.ScatterMm;
    if (width > 0 && person_.PanelWidthMm > 0.0) x += dx * width / person_.PanelWidthMm;
    if (height > 0 && person_.PanelHeightMm > 0.0) y += dy * height / person_.PanelHeightMm;
}
