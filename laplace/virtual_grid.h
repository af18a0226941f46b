// The regular virtual grid of the Laplace path: Nxside x Nyside screen points, row by row.
#pragma once

#include <cstdint>

#include "numeric/vector.h"

// The largest virtual grid the Laplace fit accepts.
inline constexpr int64_t kMaxVirtualGridPoints = 10000;

// Whether an nx x ny grid can be laid: both sides at least 2, at most kMaxVirtualGridPoints.
bool VirtualGridUsable(int32_t nx, int32_t ny);

// Gives x and y nx * ny entries; point m = row * nx + col holds
//   x = -(ny - 1) / (2 ny) + col (ny - 1) / (ny (nx - 1)),
//   y = -(nx - 1) / (2 nx) + row (nx - 1) / (nx (ny - 1)):
// the columns span the extent taken from ny and the rows the one taken from nx. False (vectors
// untouched) for a grid that VirtualGridUsable refuses.
bool FillVirtualGrid(int32_t nx, int32_t ny, Vector& x, Vector& y);
