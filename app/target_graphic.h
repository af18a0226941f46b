// The geometry of a drawn target: its square, its red rings and its black cross.
#pragma once

#include <cstdint>

struct TargetGraphic {
    int32_t CenterX = 0, CenterY = 0;  // window client pixels
    int32_t Size = 0;                  // side of the square the target occupies
    int32_t RingCount = 0;
};

inline constexpr int32_t kGridTargetRings = 4;
inline constexpr int32_t kMiniTargetRings = 2;

// Grid target: side (2 x (min(width, height) / 8)) / 3, four rings.
TargetGraphic MakeGridTargetGraphic(int32_t x, int32_t y, int32_t areaWidth, int32_t areaHeight);

// Mini target: side CaptionHeight / 15 (twips to pixels), two rings.
TargetGraphic MakeMiniTargetGraphic(int32_t x, int32_t y, int32_t captionHeightTwips);

// Radius of ring n (1 = innermost .. RingCount = outermost): (s x n) / (2 x r) - 1.
int32_t RingRadius(const TargetGraphic& graphic, int32_t ring);

// Half length of each arm of the cross: s / 2 - 3.
int32_t CrossArm(const TargetGraphic& graphic);

// The square (centre +- s / 2) that must be erased when the target leaves its place.
struct PixelRect {
    int32_t Left = 0, Top = 0, Right = 0, Bottom = 0;
};
PixelRect TargetSquare(const TargetGraphic& graphic);
