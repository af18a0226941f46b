// Millimetres on the glass: the points of a pass and the size of one pixel of its area.
#pragma once

#include <cstdint>

struct ScreenPoint {
    double X = 0.0, Y = 0.0;  // pixels of the area
};

struct RawPoint {
    double V = 0.0, W = 0.0;  // controller units
};

// Millimetres a pixel of a screen area covers, per axis; zero when the sizes are unusable.
struct GlassScale {
    double MmPerPixelX = 0.0;
    double MmPerPixelY = 0.0;
    bool Usable() const { return MmPerPixelX > 0.0 && MmPerPixelY > 0.0; }
    // The length on the glass of a step of (dx, dy) pixels.
    double Millimetres(double dxPixels, double dyPixels) const;
};

// The scale of an area of areaWidth x areaHeight pixels whose touch area is screenWidthMm x
// screenHeightMm (the ScreenWidth and ScreenHeight keys).
GlassScale GlassScaleFor(double screenWidthMm, double screenHeightMm, int32_t areaWidth,
                         int32_t areaHeight);
