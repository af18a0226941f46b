// The check before a restore: the record's area among its monitor's areas as they are now.
#include "tools/tarnix_history/restore_check.h"

namespace {

std::string Rectangle(int32_t width, int32_t height, int32_t left, int32_t top) {
    return std::to_string(width) + "x" + std::to_string(height) + " at (" + std::to_string(left) +
           "," + std::to_string(top) + ")";
}

}  // namespace

std::string AreaMismatch(const CalibrationDataRecord& r, const std::vector<MonitorRect>& monitors,
                         const std::vector<VideoMode>& modes) {
    const std::string kept = Rectangle(r.AreaWidth, r.AreaHeight, r.AreaLeft, r.AreaTop);
    if (r.MonitorNumber < 1 || size_t(r.MonitorNumber) > monitors.size())
        return "monitor " + std::to_string(r.MonitorNumber) + " of the entry (" + kept +
               ") is not there now";
    const MonitorRect& m = monitors[size_t(r.MonitorNumber) - 1];
    int32_t width = m.Right - m.Left, height = m.Bottom - m.Top, columns = 1, rows = 1;
    MatchTileLayout(modes, width, height, columns, rows);
    for (int32_t row = 0; row < rows; ++row)
        for (int32_t column = 0; column < columns; ++column)
            if (r.AreaWidth == width && r.AreaHeight == height &&
                r.AreaLeft == m.Left + column * width && r.AreaTop == m.Top + row * height)
                return std::string();
    return "monitor " + std::to_string(r.MonitorNumber) + " is now " +
           Rectangle(m.Right - m.Left, m.Bottom - m.Top, m.Left, m.Top) +
           "; the entry was kept for " + kept;
}
