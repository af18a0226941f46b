// The simulated analog sensor: a screen point in virtual-desktop pixels becomes raw controller
// counts.
#include "simcontroller/sensor_model.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kCountCentre = 2047.5;
constexpr double kCountSpan = 4095.0;

int32_t ToRaw16(double count12) {
    // A 12-bit position reported in 16-bit units: the shift right by 4 gives it back rounded.
    const double raw = std::floor(count12 * 16.0 + 8.0);
    return static_cast<int32_t>(std::clamp(raw, 0.0, 65535.0));
}

// The compression of a resistive sheet near its electrodes: nothing in the middle, a share
// 'compression' of the span at either edge (u = +-0.5).
double CompressEdge(double u, double compression) {
    const double t = 2.0 * u;
    const double t2 = t * t, t4 = t2 * t2;
    return u - compression * t4 * t4 * (u < 0 ? -1.0 : 1.0);
}

}  // namespace

double SensorNoise::Uniform() {
    // 53 random bits in (0, 1), independent of the library's distribution code.
    const uint64_t high = engine_() >> 5;
    const uint64_t low = engine_() >> 6;
    return (static_cast<double>((high << 26) | low) + 0.5) / 9007199254740992.0;
}

double SensorNoise::Gaussian() {
    if (haveSpare_) {
        haveSpare_ = false;
        return spare_;
    }
    const double radius = std::sqrt(-2.0 * std::log(Uniform()));
    const double angle = 2.0 * kPi * Uniform();
    spare_ = radius * std::sin(angle);
    haveSpare_ = true;
    return radius * std::cos(angle);
}

// How far right the sheet's bump moves a point, in pixels.
double BumpShiftPixels(const SensorParameters& sensor, double width, double height, double x,
                       double y) {
    if (sensor.bumpShift == 0.0 || !(sensor.bumpRadius > 0.0)) return 0.0;
    const double dx = x - sensor.bumpX * width, dy = y - sensor.bumpY * height;
    const double radius = sensor.bumpRadius * width;
    return sensor.bumpShift * width * std::exp(-(dx * dx + dy * dy) / (2 * radius * radius));
}

void SensorCounts12(const ScreenRect& screen, const SensorParameters& sensor, double pointX,
                    double pointY, double* countX, double* countY) {
    const double width = std::max(1, screen.width);
    const double height = std::max(1, screen.height);
    pointX += BumpShiftPixels(sensor, width, height, pointX - screen.left, pointY - screen.top);
    // Rotate about the screen centre in physical (pixel) units, then normalise to -0.5..0.5.
    const double angle = sensor.rotationDegrees * kPi / 180.0;
    const double dx = pointX - (screen.left + width / 2.0);
    const double dy = pointY - (screen.top + height / 2.0);
    const double rx = dx * std::cos(angle) - dy * std::sin(angle);
    const double ry = dx * std::sin(angle) + dy * std::cos(angle);
    // The harmonic bow of a resistive sheet: f(z) = z + q z^2 + c z^3 keeps both parts harmonic.
    const std::complex<double> z(rx / width, ry / height);
    const std::complex<double> bowed =
        z + sensor.bowQuadratic * z * z + sensor.bowCubic * z * z * z;
    double u = CompressEdge(bowed.real(), sensor.edgeCompression);
    double v = CompressEdge(bowed.imag(), sensor.edgeCompression);
    if (sensor.swapAxes) std::swap(u, v);
    if (sensor.invertX) u = -u;
    if (sensor.invertY) v = -v;
    *countX = kCountCentre + sensor.gainX * kCountSpan * u + sensor.offsetX;
    *countY = kCountCentre + sensor.gainY * kCountSpan * v + sensor.offsetY;
}

RawCounts SensorRawTouch(const ScreenRect& screen, const SensorParameters& sensor, double pointX,
                         double pointY, SensorNoise* noise) {
    double countX = 0.0;
    double countY = 0.0;
    SensorCounts12(screen, sensor, pointX, pointY, &countX, &countY);
    if (noise != nullptr && sensor.noiseCounts != 0.0) {
        countX += sensor.noiseCounts * noise->Gaussian();
        countY += sensor.noiseCounts * noise->Gaussian();
    }
    return RawCounts{ToRaw16(countX), ToRaw16(countY), sensor.z};
}
