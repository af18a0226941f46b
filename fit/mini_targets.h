// Mini-target evaluation: predicted offsets of the 11 mini targets and their spacing table.
#pragma once

#include <cstdint>

#include "fit/calibration_fit.h"

// Where the 11 mini targets stand: rows First .. First + 10 of Design (the polynomial terms of
// their normalised touches) and of TargetX, TargetY (their normalised positions).
struct MiniTargetRows {
    const Matrix& Design;
    const Vector& TargetX;
    const Vector& TargetY;
    int32_t First;
};

// Predicts mini target k with the fit's CoeffX, CoeffY (TermCount terms) from row First + k,
// stores the figures in mickeys and appends them to "SvdFitOutputs.txt", then the spacing table.
// 1 when the table was written; 0 when DistanceOfInfluence is (almost) zero, the record is
// unlinked or the mini-target rows do not exist (their figures are then left 0).
int EvaluateMiniTargets(CalibrationFit& fit, const MiniTargetRows& rows);
