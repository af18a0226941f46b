// The calibration window's texts placed clear of the targets, the buttons and the countdown.
#include "app/text_placement.h"

#include <cstdlib>

namespace {

constexpr int32_t kClearance = 1;  // pixels between a text and anything it keeps out of

bool Overlaps(const PixelRect& a, const PixelRect& b) {
    return a.Left <= b.Right && b.Left <= a.Right && a.Top <= b.Bottom && b.Top <= a.Bottom;
}

}  // namespace

std::vector<PixelRect> TargetSquares(const CalibrationArea& area, const CalibrationConfig& config) {
    std::vector<PixelRect> squares;
    const size_t grid = config.NumGridPoints;
    for (size_t i = 0; i < area.Targets.size(); ++i) {
        const AreaTarget& t = area.Targets[i];
        if (i < grid) {
            squares.push_back(
                TargetSquare(MakeGridTargetGraphic(t.ScreenX, t.ScreenY, area.Width, area.Height)));
            continue;
        }
        const size_t slot = i - grid;
        if (slot < size_t(kMiniTargetSlots) && config.MiniTargetEnabled[slot])
            squares.push_back(
                TargetSquare(MakeMiniTargetGraphic(t.ScreenX, t.ScreenY, config.CaptionHeight)));
    }
    return squares;
}

int32_t ClearTextTop(int32_t preferredTop, int32_t textWidth, int32_t textHeight, int32_t areaWidth,
                     int32_t areaHeight, const std::vector<PixelRect>& keepOut) {
    const int32_t left = (areaWidth - textWidth) / 2;
    const auto isClear = [&](int32_t top) {
        if (top < 0 || top + textHeight > areaHeight) return false;
        const PixelRect box{left - kClearance, top - kClearance, left + textWidth + kClearance,
                            top + textHeight + kClearance};
        for (const PixelRect& r : keepOut)
            if (Overlaps(box, r)) return false;
        return true;
    };
    // The nearest clear top is the usual one, or one that touches an edge of something kept out.
    std::vector<int32_t> candidates{preferredTop};
    for (const PixelRect& r : keepOut) {
        candidates.push_back(r.Bottom + 1 + kClearance);
        candidates.push_back(r.Top - 1 - kClearance - textHeight);
    }
    int32_t best = preferredTop;
    int32_t bestDistance = -1;
    for (int32_t top : candidates) {
        const int32_t distance = std::abs(top - preferredTop);
        if (isClear(top) && (bestDistance < 0 || distance < bestDistance)) {
            best = top;
            bestDistance = distance;
        }
    }
    return best;
}
