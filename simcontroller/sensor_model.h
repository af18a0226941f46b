// The simulated analog sensor: a screen point in virtual-desktop pixels becomes raw controller
// counts.
#pragma once

#include <cstdint>
#include <random>

// A screen (monitor) rectangle in virtual-desktop pixels.
struct ScreenRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool Contains(double x, double y) const {
        return x >= left && y >= top && x < left + width && y < top + height;
    }
};

// How one sensor sheet sits on its screen. Offsets and noise are in 12-bit counts (the 16-bit
// raw value shifted right by 4); gains are the fraction of the 12-bit span that the screen covers.
struct SensorParameters {
    double offsetX = 14.0;
    double offsetY = -9.0;
    double gainX = 0.90;
    double gainY = 0.88;
    double rotationDegrees = 0.7;
    double bowQuadratic = 0.012;   // weight of z^2 in the harmonic bow (z = normalised point)
    double bowCubic = 0.05;        // weight of z^3
    double edgeCompression = 0.0;  // share of the span lost at each edge, rising as (2|u|)^8
    // A local bump of the sheet: touches near (bumpX, bumpY) (fractions of the screen) land
    // bumpShift of the screen's width to the right at its centre, less with the distance as a
    // Gaussian of deviation bumpRadius (a fraction of the width). 0: none.
    double bumpX = 0.5;
    double bumpY = 0.5;
    double bumpShift = 0.0;
    double bumpRadius = 0.01;
    bool swapAxes = false;
    bool invertX = false;
    bool invertY = false;
    double noiseCounts = 0.0;  // standard deviation of the Gaussian noise per axis
    int32_t z = 255;
};

// Raw counts as the controller reports them: 16-bit X and Y, Z.
struct RawCounts {
    int32_t x = 0;
    int32_t y = 0;
    int32_t z = 0;
};

// Gaussian noise from a seeded generator: the same seed gives the same sequence on every build.
class SensorNoise {
  public:
    explicit SensorNoise(uint32_t seed) : engine_(seed) {}
    double Gaussian();  // mean 0, deviation 1

  private:
    double Uniform();
    std::mt19937 engine_;
    bool haveSpare_ = false;
    double spare_ = 0.0;
};

// The noise-free sensor position of a screen point in 12-bit counts (fractional).
void SensorCounts12(const ScreenRect& screen, const SensorParameters& sensor, double pointX,
                    double pointY, double* countX, double* countY);

// The raw report of a touch at a screen point; noise is added when noise is given and the
// sensor's noise is not zero. X and Y are clamped to 0..65535.
RawCounts SensorRawTouch(const ScreenRect& screen, const SensorParameters& sensor, double pointX,
                         double pointY, SensorNoise* noise);
