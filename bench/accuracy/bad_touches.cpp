// Bad touches of a pass: none, one target missed by 6 to 10 mm, or two neighbouring targets at a
// corner both 6 mm off the same way, as a slanted stylus gives.
#include "bench/accuracy/bad_touches.h"

#include <algorithm>
#include <cmath>
#include <random>

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kMissLowMm = 6.0, kMissHighMm = 10.0;
constexpr double kStylusMm = 6.0;
constexpr const char* kNames[] = {"none", "one", "two"};

double Unit(std::mt19937& engine) { return (double(engine()) + 0.5) / 4294967296.0; }

BadTouch Off(uint32_t target, double mm, double angle) {
    return BadTouch{target, mm * std::cos(angle), mm * std::sin(angle)};
}

// The 0-based index of the grid target in a row and column (1-based), or -1 when none is there.
int32_t TargetAt(const CalibrationConfig& c, int32_t row, int32_t column) {
    for (const GridCell& cell : c.GridCells)
        if (cell.Row == row && cell.Column == column) return cell.TargetNumber - 1;
    return -1;
}

std::vector<BadTouch> StylusAtCorner(const CalibrationConfig& c, std::mt19937& engine) {
    const int32_t rows = int32_t(c.NumGridRows), columns = int32_t(c.NumGridColumns);
    const int32_t row = Unit(engine) < 0.5 ? 1 : rows;
    const int32_t column = Unit(engine) < 0.5 ? 1 : columns;
    const bool alongRow = Unit(engine) < 0.5;
    const int32_t nextRow = alongRow ? row : (row == 1 ? 2 : rows - 1);
    const int32_t nextColumn = alongRow ? (column == 1 ? 2 : columns - 1) : column;
    const double angle = 2.0 * kPi * Unit(engine);
    std::vector<BadTouch> bad;
    for (int32_t target : {TargetAt(c, row, column), TargetAt(c, nextRow, nextColumn)})
        if (target >= 0) bad.push_back(Off(uint32_t(target), kStylusMm, angle));
    return bad;
}

}  // namespace

bool ParseBadTouches(const std::string& word, BadTouches* kind) {
    for (int i = 0; i < 3; ++i)
        if (word == kNames[i]) {
            *kind = BadTouches(i);
            return true;
        }
    return false;
}

const char* BadTouchesName(BadTouches kind) { return kNames[int(kind)]; }

std::vector<BadTouch> DrawBadTouches(BadTouches kind, const CalibrationConfig& c, uint32_t seed) {
    std::mt19937 engine(seed);
    if (kind == BadTouches::Two) return StylusAtCorner(c, engine);
    if (kind == BadTouches::None || c.NumGridPoints == 0) return {};
    const auto target =
        uint32_t(std::min(double(c.NumGridPoints - 1), std::floor(Unit(engine) * c.NumGridPoints)));
    const double mm = kMissLowMm + (kMissHighMm - kMissLowMm) * Unit(engine);
    return {Off(target, mm, 2.0 * kPi * Unit(engine))};
}
