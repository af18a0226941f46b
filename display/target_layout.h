// The target layout: grid cells, normalised target positions, mini-target slots and simulated
// touches, built from the grid keys of "Tarnix.cfg".
#pragma once

#include "config/calibration_config.h"

// Fills GridCells in grid order (row by row, border cells only with Perimeter).
bool BuildGridCells(CalibrationConfig& config);

// Default positions, then the TargetGrid keys, then the grid magnification.
bool BuildTargets(CalibrationConfig& config);

// Puts the grid targets at the centres of equal cells.
void SetDefaultTargetPositions(CalibrationConfig& config);

// Re-spaces the grid around the centre, its outer targets moved out by GridMagnification, its
// lines evenly or (GridSpacing 1) closer together towards the edges.
void ApplyGridMagnification(CalibrationConfig& config);

// Writes the 11 mini-target slots from CaptionHeight (fractions of an 800 x 600 screen).
void PlaceMiniTargets(CalibrationConfig& config);

// Simulation: the TouchGrid keys into Touches and their means. A missing key rejects the file
// (NumGridPoints 0, false).
bool ReadSimulatedTouches(CalibrationConfig& config);
