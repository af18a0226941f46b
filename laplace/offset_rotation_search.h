// The offset and rotation search of the symmetric Laplace model: a cyclic coordinate search of
// the screen offset (xoff, yoff) and the rotation theta, logged to "LSSmin.txt".
#pragma once

#include <cstdint>
#include <functional>

#include "fit/calibration_fit.h"

// The scan constants: offsets from -0.1 in steps of 0.002 while below 0.1; angles from -10 to
// +10 degrees in steps of 0.2 degrees (formed with pi = 3.1415926535898).
inline constexpr double kOffsetScanStart = -0.1;
inline constexpr double kOffsetScanStep = 0.002;
inline constexpr double kOffsetScanBound = 0.1;
inline constexpr double kRotationScanStart = -0.17453292519943334;
inline constexpr double kRotationScanStep = 0.0034906585039886666;
inline constexpr double kRotationScanBound = 0.17453292519943334;
inline constexpr double kSearchPi = 3.1415926535898;
inline constexpr double kScanStartMinimum = 1e50;
inline constexpr int kSearchCycles = 10;

// The sum of squares of the model turned by theta and shifted by (xoff, yoff).
using OffsetRotationSum = std::function<double(double theta, double xoff, double yoff)>;

struct OffsetRotationResult {
    double OffsetX = 0.0;
    double OffsetY = 0.0;
    double Rotation = 0.0;  // radians
    double MinSS = 0.0;     // smallest sum of the last rotation scan
    int32_t Evaluations = 0;
};

// The search itself over any sum function; every evaluation is appended to the report reportName
// (skipped when it cannot be opened).
OffsetRotationResult SearchOffsetRotation(const OffsetRotationSum& sum,
                                          const wchar_t* reportName = L"LSSmin.txt");

// The search with LaplaceSumOfSquares over the first count points and the coefficients cV, cW
// held fixed. Stores LaplaceOffsetX, LaplaceOffsetY, LaplaceRotation and LaplaceMinSS.
void SearchLaplaceOffsetRotation(CalibrationFit& fit, int32_t count, const Vector& cV,
                                 const Vector& cW);
