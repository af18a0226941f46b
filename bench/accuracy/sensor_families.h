// Touch sensors as real panels deviate: a position on the glass in millimetres becomes the
// position the sensor reports (its own distortion, then how it is mounted) and the raw counts its
// controller sends. Each distortion is written from its physical description on the glass.
#pragma once

#include <cstdint>
#include <variant>
#include <vector>

#include "simcontroller/error_field.h"
#include "simcontroller/sensor_model.h"

// A position on the glass in millimetres from the panel's top-left corner, or a displacement.
struct GlassPoint {
    double X = 0.0;
    double Y = 0.0;
};

// Below, u and t are the position across and down the panel from -0.5 to 0.5, W and H its size.

// A tilted overlay or an out-of-square frame seen in perspective: the scale changes by Share per
// half-width (half-height) along Direction, and straight lines stay straight.
struct Tilt {
    double Share = 0.0;
    double Direction = 0.0;  // radians, 0 along +u
};

// The bow of a resistive sheet: x is off by 4 X W u t^2 and y by 4 Y H t u^2 (positive:
// pincushion, negative: barrel).
struct Bow {
    double X = 0.0;
    double Y = 0.0;
};

// A nonlinearity that grows into the corners: x off by (X W / 2) (2u)^3 (2t)^2, y likewise.
struct CornerGrowth {
    double X = 0.0;
    double Y = 0.0;
};

// A non-uniform sheet or bus bar: each axis off by a sum of a few plane waves of low frequency.
struct PlaneWave {
    double AmplitudeMm = 0.0;
    double CyclesAcross = 0.0;  // over the panel's width
    double CyclesDown = 0.0;    // over its height
    double Phase = 0.0;
};
struct SheetWaves {
    std::vector<PlaneWave> X, Y;
};

// A projected-capacitive sensor: reports pulled inwards by PullMm at each edge, the pull decaying
// by e every DecayMm away from it, and a wobble between electrode lines PitchMm apart.
struct EdgePull {
    double PullMm = 0.0;
    double DecayMm = 1.0;
    double WobbleMm = 0.0;
    double PitchMm = 5.0;
    double PhaseX = 0.0, PhaseY = 0.0;  // where the lines lie, radians
};

// An infrared frame: between two LEDs PitchMm apart the report runs ahead of the finger from
// -AmplitudeMm to +AmplitudeMm, and falls back at the next LED.
struct Sawtooth {
    double AmplitudeMm = 0.0;
    double PitchMm = 5.0;
    double PhaseX = 0.0, PhaseY = 0.0;  // where the LEDs lie, share of the pitch
};

using Distortion =
    std::variant<std::monostate, Tilt, Bow, CornerGrowth, SheetWaves, EdgePull, Sawtooth>;

// The reported position minus the true one, of the sensor's own distortion.
GlassPoint Displacement(const Distortion& shape, GlassPoint at, const PanelSize& panel);

// How the sensor sits on the display: turned about the panel's centre, its scale off by a gain
// per axis, shifted.
struct Mounting {
    double GainX = 0.0;  // share: 0.02 reports 2 % more than the true distance from the centre
    double GainY = 0.0;
    double RotationDegrees = 0.0;
    double OffsetXMm = 0.0;
    double OffsetYMm = 0.0;
};

// The axes as the controller's cable and the display's turn deliver them.
struct Cabling {
    bool SwapAxes = false;  // the controller's X measures the glass's y
    bool MirrorX = false;   // counts fall from left to right
    bool MirrorY = false;
};

// A controller of some bits whose range the screen's reported extent covers a share of, centred.
// It reports in 16-bit units (its count shifted up), as the stand-in does.
struct Controller {
    int32_t Bits = 16;
    double Coverage = 0.9;
};

struct DrawnSensor {
    Distortion Shape;
    Mounting Mount;
    Cabling Wiring;
    Controller Counts;
    // The centre and size of the screen's reported extent (FrameScreen).
    GlassPoint ReportedCentre;
    GlassPoint ReportedSpan{1.0, 1.0};
};

// Where the sensor reports a touch at a point of the glass: its distortion, then the mounting.
GlassPoint ReportedPosition(const DrawnSensor& sensor, GlassPoint at, const PanelSize& panel);

// Measures the extent of the screen's reported positions, which the controller's coverage spans.
void FrameScreen(DrawnSensor& sensor, const PanelSize& panel);

// The raw counts of a touch at a point of the glass, in 16-bit units, clamped to the range.
RawCounts ControllerReport(const DrawnSensor& sensor, GlassPoint at, const PanelSize& panel);

// The largest stored count (raw shifted right by 4) of a controller reporting in 16-bit units:
// the ControllerMax its configuration file gives.
inline constexpr int32_t kStoredControllerMax = 65535 >> 4;
