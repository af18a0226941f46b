// Positions of the virtual grid points.
#include "laplace/virtual_grid.h"

bool VirtualGridUsable(int32_t nx, int32_t ny) {
    return nx >= 2 && ny >= 2 && int64_t(nx) * int64_t(ny) <= kMaxVirtualGridPoints;
}

bool FillVirtualGrid(int32_t nx, int32_t ny, Vector& x, Vector& y) {
    if (!VirtualGridUsable(nx, ny)) return false;
    const uint32_t count = uint32_t(nx) * uint32_t(ny);
    x.Resize(count);
    y.Resize(count);
    const double fx = nx, fy = ny;
    for (int32_t row = 0; row < ny; ++row) {
        for (int32_t col = 0; col < nx; ++col) {
            const uint32_t m = uint32_t(row) * uint32_t(nx) + uint32_t(col);
            x[m] = -(fy - 1) / (2 * fy) + col * (fy - 1) / (fy * (fx - 1));
            y[m] = -(fx - 1) / (2 * fx) + row * (fx - 1) / (fx * (fy - 1));
        }
    }
    return true;
}
