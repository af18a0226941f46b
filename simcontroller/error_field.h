// The real error of a calibration record: held-out screen points through the sensor and the record.
#pragma once

#include <cstdint>
#include <vector>

#include "driver/quva_records.h"
#include "simcontroller/sensor_model.h"

// The part of the area the targets span, as fractions of the area (default: the 5 x 5 grid).
struct HullFractions {
    double left = 0.1;
    double top = 0.1;
    double right = 0.9;
    double bottom = 0.9;
};

// The physical size of the panel, which turns pixels into millimetres on the glass.
struct PanelSize {
    double widthMm = 344.2;  // a 15.6-inch 16:9 panel
    double heightMm = 193.6;
};

struct ErrorOptions {
    int32_t stepPixels = 0;  // grid spacing; 0: about 100 points across the wider side
    HullFractions hull;
    PanelSize panel;
};

// The touch-display requirement: within 1 mm more than 3.5 mm from every edge, within 2 mm in the
// edge band.
inline constexpr double kEdgeBandMm = 3.5;
inline constexpr double kInnerLimitMm = 1.0;
inline constexpr double kEdgeLimitMm = 2.0;

// One evaluated point: the true screen point and the error of its calibrated point (pixels).
struct ErrorSample {
    double x = 0.0;
    double y = 0.0;
    double dx = 0.0;
    double dy = 0.0;
    bool insideHull = false;
};

struct ErrorFigures {
    size_t count = 0;
    double rms = 0.0;
    double percentile95 = 0.0;
    double maximum = 0.0;
};

// Figures of one zone of the screen, in millimetres on the glass and in pixels.
struct ZoneFigures {
    ErrorFigures millimetres;
    ErrorFigures pixels;
};

// The error by zone: the inner area (kEdgeBandMm or more from every edge) and the edge band, and
// whether each meets its limit at its worst point.
struct AccuracyZones {
    ZoneFigures inner;
    ZoneFigures edge;
    ZoneFigures whole;
    bool innerWithin = false;  // worst inner point within kInnerLimitMm (true when none)
    bool edgeWithin = false;   // worst edge point within kEdgeLimitMm (true when none)
};

struct ErrorField {
    bool valid = false;  // false: the record has no mapping
    ScreenRect area;     // the record's area
    PanelSize panel;     // its physical size
    int32_t stepPixels = 0;
    double hullLeft = 0.0, hullTop = 0.0, hullRight = 0.0, hullBottom = 0.0;  // pixels
    std::vector<ErrorSample> samples;
    ErrorFigures inside;  // points inside the targets' hull
    ErrorFigures whole;   // every point of the area
    AccuracyZones zones;
};

// Figures of a set of error lengths (nearest-rank 95th percentile).
ErrorFigures SummariseErrors(std::vector<double> lengths);

// Sorts error samples (screen points and errors in pixels) of an area into the inner area and the
// edge band of a panel, in millimetres and pixels.
AccuracyZones SummariseZones(const std::vector<ErrorSample>& samples, const ScreenRect& area,
                             const PanelSize& panel);

// Evaluates the record over a grid of cell centres of its area (points the fit never saw): each
// point goes through the noise-free sensor (covering sensorScreen) and the record.
ErrorField EvaluateRecordError(const CalibrationDataRecord& record, const ScreenRect& sensorScreen,
                               const SensorParameters& sensor, const ErrorOptions& options);
