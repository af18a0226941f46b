// Millimetres a pixel of a screen area covers, from the touch area's physical size.
#include "fit/glass_scale.h"

#include <cmath>

double GlassScale::Millimetres(double dxPixels, double dyPixels) const {
    return std::hypot(dxPixels * MmPerPixelX, dyPixels * MmPerPixelY);
}

GlassScale GlassScaleFor(double screenWidthMm, double screenHeightMm, int32_t areaWidth,
                         int32_t areaHeight) {
    GlassScale scale;
    if (!(screenWidthMm > 0.0) || !(screenHeightMm > 0.0) || areaWidth <= 0 || areaHeight <= 0 ||
        !std::isfinite(screenWidthMm) || !std::isfinite(screenHeightMm))
        return scale;
    scale.MmPerPixelX = screenWidthMm / areaWidth;
    scale.MmPerPixelY = screenHeightMm / areaHeight;
    return scale;
}
