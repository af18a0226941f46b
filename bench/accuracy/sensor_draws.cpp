// Random sensors of each family, drawn (seeded, reproducibly) within the ranges published for
// real panels.
#include "bench/accuracy/sensor_draws.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <random>

namespace {

constexpr double kPi = 3.14159265358979323846;

struct Range {
    double Low, High;
};

constexpr Range kGain{-0.03, 0.03};
constexpr Range kRotationDegrees{-3.0, 3.0};
constexpr Range kOffsetMm{-5.0, 5.0};
constexpr int32_t kControllerBits[] = {10, 12, 16};
constexpr Range kCoverage{0.15, 0.95};

constexpr Range kTiltShare{0.01, 0.03};
constexpr Range kBowShare{0.003, 0.015};
constexpr Range kCornerShare{0.002, 0.01};
constexpr Range kSheetPeakMm{0.5, 2.0};
constexpr int kSheetWaves = 3;
constexpr Range kSheetCycles{-1.5, 1.5};  // per panel side: smooth
constexpr Range kEdgePullMm{1.0, 3.0};
constexpr Range kEdgeDecayMm{1.5, 4.0};
constexpr Range kWobbleMm{0.1, 0.5};
constexpr Range kElectrodePitchMm{4.0, 6.0};
constexpr Range kSawtoothMm{0.3, 1.0};
constexpr Range kLedPitchMm{4.5, 5.5};

// Uniform numbers from a seeded generator, the same on every build.
class Draws {
  public:
    explicit Draws(uint32_t seed) : engine_(seed) {}
    double Unit() { return (double(engine_()) + 0.5) / 4294967296.0; }
    double In(Range r) { return r.Low + (r.High - r.Low) * Unit(); }
    double Sign() { return Unit() < 0.5 ? -1.0 : 1.0; }
    double Angle() { return 2.0 * kPi * Unit(); }
    size_t Pick(size_t count) { return std::min(count - 1, size_t(Unit() * double(count))); }

  private:
    std::mt19937 engine_;
};

Bow DrawBow(Draws& d) {
    const double sign = d.Sign();  // pincushion or barrel on both axes
    return Bow{sign * d.In(kBowShare), sign * d.In(kBowShare)};
}

std::vector<PlaneWave> DrawWaves(Draws& d) {
    std::vector<PlaneWave> waves;
    for (int i = 0; i < kSheetWaves; ++i)
        waves.push_back({d.In({0.5, 1.0}), d.In(kSheetCycles), d.In(kSheetCycles), d.Angle()});
    return waves;
}

// Waves scaled so that the largest displacement over the panel is the drawn peak.
SheetWaves DrawSheet(Draws& d, const PanelSize& panel) {
    SheetWaves sheet{DrawWaves(d), DrawWaves(d)};
    double largest = 0.0;
    for (int row = 0; row <= 48; ++row)
        for (int column = 0; column <= 96; ++column) {
            const GlassPoint at{panel.widthMm * column / 96, panel.heightMm * row / 48};
            const GlassPoint e = Displacement(sheet, at, panel);
            largest = std::max(largest, std::hypot(e.X, e.Y));
        }
    const double scale = largest > 0.0 ? d.In(kSheetPeakMm) / largest : 0.0;
    for (auto* axis : {&sheet.X, &sheet.Y})
        for (PlaneWave& w : *axis) w.AmplitudeMm *= scale;
    return sheet;
}

Cabling DrawCabling(Draws& d) {
    const size_t way = 1 + d.Pick(7);  // any but the straight cable
    return Cabling{(way & 1) != 0, (way & 2) != 0, (way & 4) != 0};
}

Distortion DrawShape(SensorFamily family, Draws& d, const PanelSize& panel) {
    switch (family) {
        case SensorFamily::Tilted:
            return Tilt{d.In(kTiltShare), d.Angle()};
        case SensorFamily::Bow:
        case SensorFamily::Swapped:
            return DrawBow(d);
        case SensorFamily::Corner:
            return CornerGrowth{d.Sign() * d.In(kCornerShare), d.Sign() * d.In(kCornerShare)};
        case SensorFamily::Nonuniform:
            return DrawSheet(d, panel);
        case SensorFamily::EdgePull:
            return EdgePull{d.In(kEdgePullMm),       d.In(kEdgeDecayMm), d.In(kWobbleMm),
                            d.In(kElectrodePitchMm), d.Angle(),          d.Angle()};
        case SensorFamily::Sawtooth:
            return Sawtooth{d.In(kSawtoothMm), d.In(kLedPitchMm), d.Unit(), d.Unit()};
        case SensorFamily::Mounting:
            break;
    }
    return std::monostate{};
}

}  // namespace

const char* SensorFamilyName(SensorFamily family) {
    constexpr const char* kNames[] = {"tilted",  "bow",      "corner",   "nonuniform",
                                      "swapped", "edgepull", "sawtooth", "mounting"};
    return kNames[int(family)];
}

DrawnSensor DrawSensor(SensorFamily family, uint32_t seed, const PanelSize& panel) {
    Draws d(seed);
    DrawnSensor sensor;
    sensor.Mount = Mounting{d.In(kGain), d.In(kGain), d.In(kRotationDegrees), d.In(kOffsetMm),
                            d.In(kOffsetMm)};
    sensor.Counts =
        Controller{kControllerBits[d.Pick(std::size(kControllerBits))], d.In(kCoverage)};
    sensor.Shape = DrawShape(family, d, panel);
    if (family == SensorFamily::Swapped) sensor.Wiring = DrawCabling(d);
    FrameScreen(sensor, panel);
    return sensor;
}
