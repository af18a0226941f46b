// Builds grid cells, target positions, mini-target slots and simulated touches.
#include "display/target_layout.h"

#include <cmath>
#include <new>
#include <vector>

#include "config/profile_values.h"
#include "platform/debug_trace.h"
#include "platform/platform.h"

namespace {

bool IsGridCellUsed(const CalibrationConfig& c, uint32_t row, uint32_t column) {
    return !c.Perimeter || row == 1 || row == c.NumGridRows || column == 1 ||
           column == c.NumGridColumns;
}

// Calls visit(index, column, row) with 0-based index and 1-based column and row for every grid
// cell in grid order, at most NumGridPoints of them.
template <typename Visitor>
void ForEachGridCell(const CalibrationConfig& c, Visitor&& visit) {
    uint32_t index = 0;
    for (uint32_t row = 1; row <= c.NumGridRows; ++row) {
        for (uint32_t column = 1; column <= c.NumGridColumns; ++column) {
            if (!IsGridCellUsed(c, row, column)) continue;
            if (index >= c.NumGridPoints) return;
            visit(index++, column, row);
        }
    }
}

void RaiseGridToTwoByTwo(CalibrationConfig& c) {
    if (c.NumGridColumns < 2) c.NumGridColumns = 2;
    if (c.NumGridRows < 2) c.NumGridRows = 2;
}

bool FailLayout(CalibrationConfig& c, const wchar_t* what) {
    DebugPrint(L"Tarnix.exe: no memory for %s", what);
    c.NumGridPoints = 0;
    return false;
}

template <typename T>
bool Resize(std::vector<T>& array, size_t count) {
    try {
        array.assign(count, T());
        return true;
    } catch (const std::bad_alloc&) {
        return false;
    }
}

// Index of the grid cell at (column, row), or -1.
int64_t FindGridCell(const CalibrationConfig& c, uint32_t column, uint32_t row) {
    int64_t found = -1;
    ForEachGridCell(c, [&](uint32_t index, uint32_t col, uint32_t r) {
        if (found < 0 && col == column && r == row) found = index;
    });
    return found;
}

void ReadTargetGridKeys(CalibrationConfig& c) {
    for (uint32_t i = 0; i < c.TargetCount && i < c.Targets.size(); ++i) {
        wchar_t key[64];
        FormatNumberedKey(key, L"TargetGridX%02d", int(i));
        ReadCfgOptionalReal(c.CfgFilePath, key, &c.Targets[i].X);
        FormatNumberedKey(key, L"TargetGridY%02d", int(i));
        ReadCfgOptionalReal(c.CfgFilePath, key, &c.Targets[i].Y);
    }
}

// Grid targets and enabled mini targets need both keys; a disabled mini-target slot may lack them.
bool ReadTouchKey(const CalibrationConfig& c, const wchar_t* format, uint32_t index,
                  double* value) {
    wchar_t key[64];
    FormatNumberedKey(key, format, int(index));
    if (ReadCfgOptionalReal(c.CfgFilePath, key, value)) return true;
    bool required = index < c.NumGridPoints || c.MiniTargetEnabled[index - c.NumGridPoints];
    if (!required) return true;
    DebugPrint(L"Tarnix.exe: simulation needs %s in the configuration file", key);
    return false;
}

// The n positions of a grid line on -1 .. 1: even, or the Gauss-Lobatto points (the ends and the
// roots of the derivative of the Legendre polynomial P(n-1)), closer together towards the ends,
// where a fit extrapolates.
std::vector<double> GridNodes(uint32_t n, bool even) {
    constexpr double kPi = 3.14159265358979323846;
    std::vector<double> nodes(n);
    for (uint32_t k = 0; k < n; ++k) {
        double t = even ? -1.0 + 2.0 * k / (n - 1) : -std::cos(kPi * k / (n - 1));
        for (int step = 0; !even && step < 100; ++step) {
            double previous = 1.0, legendre = t;  // P(m-1) and P(m) at t
            for (uint32_t m = 2; m < n; ++m) {
                const double next = ((2.0 * m - 1) * t * legendre - (m - 1.0) * previous) / m;
                previous = legendre;
                legendre = next;
            }
            const double change = (t * legendre - previous) / (n * legendre);
            t -= change;
            if (std::fabs(change) < 1e-15) break;
        }
        nodes[k] = t;
    }
    return nodes;
}

}  // namespace

bool BuildGridCells(CalibrationConfig& c) {
    if (!Resize(c.GridCells, c.TargetCount)) return FailLayout(c, L"the grid cells");
    c.GridCells.clear();
    int32_t next = 1;
    for (uint32_t row = 1; row <= c.NumGridRows; ++row) {
        for (uint32_t column = 1; column <= c.NumGridColumns; ++column) {
            if (IsGridCellUsed(c, row, column) && c.GridCells.size() < c.TargetCount)
                c.GridCells.push_back({next++, int32_t(column), int32_t(row)});
        }
    }
    return true;
}

bool BuildTargets(CalibrationConfig& c) {
    ProfileReadingPass pass;
    if (!Resize(c.Targets, size_t(c.NumGridPoints) + kMiniTargetSlots))
        return FailLayout(c, L"the targets");
    SetDefaultTargetPositions(c);
    ReadTargetGridKeys(c);
    ApplyGridMagnification(c);
    return true;
}

void SetDefaultTargetPositions(CalibrationConfig& c) {
    RaiseGridToTwoByTwo(c);
    ForEachGridCell(c, [&](uint32_t index, uint32_t column, uint32_t row) {
        if (index >= c.Targets.size()) return;
        c.Targets[index].X = (double(column - 1) + 0.5) / c.NumGridColumns;
        c.Targets[index].Y = (double(row - 1) + 0.5) / c.NumGridRows;
    });
}

void ApplyGridMagnification(CalibrationConfig& c) {
    const bool even = c.GridSpacing != kGridSpacingLobatto;
    if (even && std::fabs(c.GridMagnification - 1.0) <= 0.0001) return;
    RaiseGridToTwoByTwo(c);
    int64_t topRight = FindGridCell(c, c.NumGridColumns, 1);
    int64_t bottomLeft = FindGridCell(c, 1, c.NumGridRows);
    if (topRight < 0 || bottomLeft < 0 || c.Targets.size() < c.NumGridPoints) return;
    double spanX = c.GridMagnification * (c.Targets[topRight].X - c.Targets[0].X);
    double spanY = c.GridMagnification * (c.Targets[bottomLeft].Y - c.Targets[0].Y);
    if (std::fabs(spanX) > 1.0 || std::fabs(spanY) > 1.0) {
        DebugPrint(L"Tarnix.exe: GridMagnification would move targets off the screen, ignored");
        return;
    }
    const std::vector<double> columns = GridNodes(c.NumGridColumns, even);
    const std::vector<double> rows = GridNodes(c.NumGridRows, even);
    ForEachGridCell(c, [&](uint32_t index, uint32_t column, uint32_t row) {
        c.Targets[index].X = 0.5 + 0.5 * spanX * columns[column - 1];
        c.Targets[index].Y = 0.5 + 0.5 * spanY * rows[row - 1];
    });
}

void PlaceMiniTargets(CalibrationConfig& c) {
    if (c.Targets.size() < size_t(c.NumGridPoints) + kMiniTargetSlots) return;
    double cap = c.CaptionHeight / 15.0;
    double half = cap / 2.0;
    for (int i = 0; i < kMiniTargetSlots; ++i) {
        TargetPoint& slot = c.Targets[c.NumGridPoints + i];
        if (i <= 2) {
            slot = {(800.0 - half - i * cap) / 800.0, half / 600.0};
        } else if (i == 3) {
            slot = {half / 800.0, half / 600.0};
        } else if (i == 4) {
            slot = {half / 800.0, (600.0 - half) / 600.0};
        } else {
            slot = {(800.0 - half - (10 - i) * cap) / 800.0, (600.0 - half) / 600.0};
        }
    }
}

bool ReadSimulatedTouches(CalibrationConfig& c) {
    ProfileReadingPass pass;
    if (!Resize(c.Touches, size_t(c.NumGridPoints) + kMiniTargetSlots)) {
        c.Targets.clear();
        return FailLayout(c, L"the simulated touches");
    }
    double sumV = 0.0, sumW = 0.0;
    uint32_t count = c.TargetCount < c.Touches.size() ? c.TargetCount : uint32_t(c.Touches.size());
    for (uint32_t i = 0; i < count; ++i) {
        TouchEntry& touch = c.Touches[i];
        touch.TargetNumber = int32_t(i + 1);
        if (!ReadTouchKey(c, L"TouchGridX%02d", i, &touch.V) ||
            !ReadTouchKey(c, L"TouchGridY%02d", i, &touch.W)) {
            c.NumGridPoints = 0;
            return false;
        }
        sumV += touch.V;
        sumW += touch.W;
    }
    c.MeanTouchV = count ? sumV / count : 0.0;
    c.MeanTouchW = count ? sumW / count : 0.0;
    return true;
}
