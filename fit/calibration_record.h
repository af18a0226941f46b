// Packing of the driver's calibration record from an area, the virtual screen and a fit, and the
// values of the commit's log lines.
#pragma once

#include <cstdint>
#include <string>

#include "driver/quva_records.h"
#include "fit/calibration_fit.h"

// The screen area being calibrated, in pixels of the virtual desktop.
struct RecordArea {
    int32_t Width = 800;
    int32_t Height = 600;
    int32_t Left = 0;
    int32_t Top = 0;
    int32_t MonitorNumber = 1;
};

// SM_XVIRTUALSCREEN and friends of the platform.
struct VirtualScreenMetrics {
    int32_t Width = 0;
    int32_t Height = 0;
    int32_t Left = 0;
    int32_t Top = 0;
};

// A reference target: a screen position in the area and its controller position.
struct ReferenceTarget {
    int32_t ScreenX = 0;
    int32_t ScreenY = 0;
    int32_t ControllerX = 0;
    int32_t ControllerY = 0;
};

inline constexpr char kPlainControllerType = 0;
inline constexpr char kNoFitControllerType = '7';

// Targets at 1/8 and 7/8 of the area (controller 8192 / 57344), before the type '7' replacement.
void ComputeReferenceTargets(const RecordArea& area, ReferenceTarget targets[3]);

// Fills record (zeroed first). The fit fields are taken from fit only when the controller type
// is not '7' and fit is given; a type '7' record carries the controller positions 8191 / 57344.
// False (record left all zero) when fit is given for a non-'7' controller but its LastStatus is not
// Fitted: a refused fit never reaches the driver.
bool PackCalibrationRecord(const RecordArea& area, int32_t screenIndex, char controllerType,
                           const VirtualScreenMetrics& screen, const CalibrationFit* fit,
                           CalibrationDataRecord& record);

// True when a coefficient, scaled as the record holds it, fits its 32-bit field with room to
// spare.
bool CoefficientFitsRecord(double coefficient);

// True when every fit field of the record would be a finite number inside its 32-bit field (the
// scaled coefficients, rotation, offsets, normalisation and mini-target figures).
bool FitFieldsFitRecord(const CalibrationFit& fit);

// The four log lines of the commit: the area line, then one line per reference target.
struct CommitLogLines {
    std::wstring Lines[4];
};
CommitLogLines FormatCommitLogLines(const RecordArea& area);
