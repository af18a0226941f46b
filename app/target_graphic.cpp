// Target sizes, ring radii and the cross, in integer pixels.
#include "app/target_graphic.h"

#include <algorithm>

TargetGraphic MakeGridTargetGraphic(int32_t x, int32_t y, int32_t areaWidth, int32_t areaHeight) {
    int32_t side = std::max(0, std::min(areaWidth, areaHeight));
    return TargetGraphic{x, y, (2 * (side / 8)) / 3, kGridTargetRings};
}

TargetGraphic MakeMiniTargetGraphic(int32_t x, int32_t y, int32_t captionHeightTwips) {
    return TargetGraphic{x, y, std::max(0, captionHeightTwips / 15), kMiniTargetRings};
}

int32_t RingRadius(const TargetGraphic& graphic, int32_t ring) {
    if (graphic.RingCount <= 0) return -1;
    return (graphic.Size * ring) / (2 * graphic.RingCount) - 1;
}

int32_t CrossArm(const TargetGraphic& graphic) { return graphic.Size / 2 - 3; }

PixelRect TargetSquare(const TargetGraphic& graphic) {
    int32_t half = graphic.Size / 2;
    return PixelRect{graphic.CenterX - half, graphic.CenterY - half, graphic.CenterX + half,
                     graphic.CenterY + half};
}
