// The data of a fit in normalised units (touches and targets), their finiteness and their report.
#pragma once

#include <cstdint>

#include "fit/calibration_fit.h"

// Grid points plus the 11 mini targets when the configuration has them: the points a pass
// collects and the fit normalises.
uint32_t DataPointCount(const CalibrationConfig& config);

// A raw controller coordinate in normalised units: (raw - ControllerOffset) * ScaleFactor.
double NormalisedTouch(const CalibrationFit& fit, double raw);

// A target position (a fraction of the area) in normalised units: (X - OriginX) / RangeX and
// (Y - OriginY) / RangeY.
double NormalisedTargetX(const CalibrationConfig& config, double x);
double NormalisedTargetY(const CalibrationConfig& config, double y);

// Reads ControllerOffset and ScaleFactor from the linked parameters, gives TouchV, TouchW,
// TargetX and TargetY n entries and fills them from the first n touches and targets.
void NormaliseFitData(CalibrationFit& fit, uint32_t n);

// Whether ControllerOffset, ScaleFactor and the first n entries of the normalised data are finite.
bool NormalisedDataFinite(const CalibrationFit& fit, uint32_t n);

// Appends the factors and the first n normalised touches and targets to "SvdFitInputs.txt".
void WriteFitInputReport(const CalibrationFit& fit, uint32_t n);
