// Touch sensors as real panels deviate: a position on the glass in millimetres becomes the
// position the sensor reports and the raw counts its controller sends.
#include "bench/accuracy/sensor_families.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr int kReportBits = 16;
// The screen's extent is measured at this many points across and down, edges included.
constexpr int kFrameColumns = 97;
constexpr int kFrameRows = 55;

struct PanelFrame {
    double u, t;  // -0.5 .. 0.5 across and down
};

PanelFrame FrameOf(GlassPoint at, const PanelSize& panel) {
    return {at.X / panel.widthMm - 0.5, at.Y / panel.heightMm - 0.5};
}

GlassPoint Shift(const Tilt& tilt, GlassPoint at, const PanelSize& panel) {
    const PanelFrame f = FrameOf(at, panel);
    const double along = 2.0 * (f.u * std::cos(tilt.Direction) + f.t * std::sin(tilt.Direction));
    const double scaleChange = 1.0 / (1.0 + tilt.Share * along) - 1.0;
    return {f.u * panel.widthMm * scaleChange, f.t * panel.heightMm * scaleChange};
}

GlassPoint Shift(const Bow& bow, GlassPoint at, const PanelSize& panel) {
    const PanelFrame f = FrameOf(at, panel);
    return {4.0 * bow.X * panel.widthMm * f.u * f.t * f.t,
            4.0 * bow.Y * panel.heightMm * f.t * f.u * f.u};
}

GlassPoint Shift(const CornerGrowth& c, GlassPoint at, const PanelSize& panel) {
    const double u2 = 2.0 * FrameOf(at, panel).u, t2 = 2.0 * FrameOf(at, panel).t;
    return {c.X * panel.widthMm / 2.0 * u2 * u2 * u2 * t2 * t2,
            c.Y * panel.heightMm / 2.0 * t2 * t2 * t2 * u2 * u2};
}

double SumOfWaves(const std::vector<PlaneWave>& waves, PanelFrame f) {
    double sum = 0.0;
    for (const PlaneWave& w : waves)
        sum += w.AmplitudeMm *
               std::sin(2.0 * kPi * (w.CyclesAcross * f.u + w.CyclesDown * f.t) + w.Phase);
    return sum;
}

GlassPoint Shift(const SheetWaves& sheet, GlassPoint at, const PanelSize& panel) {
    const PanelFrame f = FrameOf(at, panel);
    return {SumOfWaves(sheet.X, f), SumOfWaves(sheet.Y, f)};
}

// The inward pull of both edges of one axis and the wobble between its electrode lines.
double PullAlong(const EdgePull& pull, double at, double size, double phase) {
    const double inward =
        pull.PullMm * (std::exp(-at / pull.DecayMm) - std::exp(-(size - at) / pull.DecayMm));
    return inward + pull.WobbleMm * std::sin(2.0 * kPi * at / pull.PitchMm + phase);
}

GlassPoint Shift(const EdgePull& pull, GlassPoint at, const PanelSize& panel) {
    return {PullAlong(pull, at.X, panel.widthMm, pull.PhaseX),
            PullAlong(pull, at.Y, panel.heightMm, pull.PhaseY)};
}

double Tooth(const Sawtooth& saw, double at, double phase) {
    const double cycles = at / saw.PitchMm + phase;
    return saw.AmplitudeMm * (2.0 * (cycles - std::floor(cycles)) - 1.0);
}

GlassPoint Shift(const Sawtooth& saw, GlassPoint at, const PanelSize&) {
    return {Tooth(saw, at.X, saw.PhaseX), Tooth(saw, at.Y, saw.PhaseY)};
}

GlassPoint Shift(std::monostate, GlassPoint, const PanelSize&) { return {}; }

GlassPoint Mounted(const Mounting& m, GlassPoint at, const PanelSize& panel) {
    const double angle = m.RotationDegrees * kPi / 180.0;
    const double dx = at.X - panel.widthMm / 2.0, dy = at.Y - panel.heightMm / 2.0;
    const double rx = dx * std::cos(angle) - dy * std::sin(angle);
    const double ry = dx * std::sin(angle) + dy * std::cos(angle);
    return {panel.widthMm / 2.0 + (1.0 + m.GainX) * rx + m.OffsetXMm,
            panel.heightMm / 2.0 + (1.0 + m.GainY) * ry + m.OffsetYMm};
}

// The controller's count of a share of its range, in 16-bit units.
int32_t Quantise(double share, int32_t bits) {
    const double top = double((int64_t(1) << bits) - 1);
    const double count = std::clamp(std::floor(share * top + 0.5), 0.0, top);
    return int32_t(count) << (kReportBits - bits);
}

}  // namespace

GlassPoint Displacement(const Distortion& shape, GlassPoint at, const PanelSize& panel) {
    return std::visit([&](const auto& s) { return Shift(s, at, panel); }, shape);
}

GlassPoint ReportedPosition(const DrawnSensor& sensor, GlassPoint at, const PanelSize& panel) {
    const GlassPoint shift = Displacement(sensor.Shape, at, panel);
    return Mounted(sensor.Mount, GlassPoint{at.X + shift.X, at.Y + shift.Y}, panel);
}

void FrameScreen(DrawnSensor& sensor, const PanelSize& panel) {
    double loX = 1e300, hiX = -1e300, loY = 1e300, hiY = -1e300;
    for (int row = 0; row < kFrameRows; ++row)
        for (int column = 0; column < kFrameColumns; ++column) {
            const GlassPoint at{panel.widthMm * column / (kFrameColumns - 1),
                                panel.heightMm * row / (kFrameRows - 1)};
            const GlassPoint r = ReportedPosition(sensor, at, panel);
            loX = std::min(loX, r.X), hiX = std::max(hiX, r.X);
            loY = std::min(loY, r.Y), hiY = std::max(hiY, r.Y);
        }
    sensor.ReportedCentre = {(loX + hiX) / 2.0, (loY + hiY) / 2.0};
    sensor.ReportedSpan = {hiX - loX, hiY - loY};
}

RawCounts ControllerReport(const DrawnSensor& sensor, GlassPoint at, const PanelSize& panel) {
    const GlassPoint r = ReportedPosition(sensor, at, panel);
    const double coverage = sensor.Counts.Coverage;
    double shareX = 0.5 + coverage * (r.X - sensor.ReportedCentre.X) / sensor.ReportedSpan.X;
    double shareY = 0.5 + coverage * (r.Y - sensor.ReportedCentre.Y) / sensor.ReportedSpan.Y;
    if (sensor.Wiring.MirrorX) shareX = 1.0 - shareX;
    if (sensor.Wiring.MirrorY) shareY = 1.0 - shareY;
    if (sensor.Wiring.SwapAxes) std::swap(shareX, shareY);
    return RawCounts{Quantise(shareX, sensor.Counts.Bits), Quantise(shareY, sensor.Counts.Bits),
                     255};
}
