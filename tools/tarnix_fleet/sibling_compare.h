// Kiosks of one monitor model compared with the model's typical mapping: for each point of a grid
// over the screen, the median of the sensor counts the kiosks' records map there; a kiosk's
// deviation is the largest distance on the glass between that point and where its own record
// puts the typical counts.
#pragma once

#include <cstdint>
#include <vector>

#include "tools/tarnix_fleet/fleet_kiosk.h"

// The default bound of a deviation, millimetres on the glass.
inline constexpr double kSiblingBoundMm = 2.0;
// A model is compared when at least this many of its kiosks have a usable record.
inline constexpr size_t kFewestSiblings = 3;
// Points per side of the grid over the screen, edges and corners included.
inline constexpr int32_t kSiblingGridSteps = 11;

// Sets SiblingDeviationMm, Siblings and DiffersFromSiblings (deviation above boundMm) of every
// kiosk whose model has enough kiosks with a usable record and glass.
void CompareWithSiblings(std::vector<FleetKiosk>& kiosks, double boundMm = kSiblingBoundMm);
