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

struct ErrorOptions {
    int32_t stepPixels = 0;  // grid spacing; 0: about 100 points across the wider side
    HullFractions hull;
};

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

struct ErrorField {
    bool valid = false;  // false: the record has no mapping
    ScreenRect area;     // the record's area
    int32_t stepPixels = 0;
    double hullLeft = 0.0, hullTop = 0.0, hullRight = 0.0, hullBottom = 0.0;  // pixels
    std::vector<ErrorSample> samples;
    ErrorFigures inside;  // points inside the targets' hull
    ErrorFigures whole;   // every point of the area
};

// Figures of a set of error lengths (nearest-rank 95th percentile).
ErrorFigures SummariseErrors(std::vector<double> lengths);

// Evaluates the record over a grid of cell centres of its area (points the fit never saw): each
// point goes through the noise-free sensor (covering sensorScreen) and the record.
ErrorField EvaluateRecordError(const CalibrationDataRecord& record, const ScreenRect& sensorScreen,
                               const SensorParameters& sensor, const ErrorOptions& options);
