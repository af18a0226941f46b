// The tiling rule: a monitor whose size is an exact multiple of a known video mode is split into
// equal tiles, from "QuvaVideo.txt" in the support folder or the built-in list of modes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One video mode of the tiling list.
struct VideoMode {
    int32_t Width = 0, Height = 0;
};

// The built-in modes, in the order they are tried.
const std::vector<VideoMode>& BuiltInVideoModes();

// Pairs "w,h" separated by white space, as the scan format "%d,%d" reads them. The list ends at
// the end of the text, at a pair with width 0, and at anything that is not such a pair; a pair
// with a negative or zero size also ends it (it could never tile a monitor).
std::vector<VideoMode> ParseVideoModes(const std::string& text);

// The modes of "QuvaVideo.txt" in the support folder; the built-in list when the file is missing,
// yields no pair or holds more than 64 KiB (refused whole, with a trace).
std::vector<VideoMode> ReadVideoModes();

// Limits of the tiling: smaller tiles, or more of them on one monitor, are never laid.
inline constexpr int32_t kMinTileSide = 64;
inline constexpr int32_t kMaxTilesPerMonitor = 64;

// The first mode that divides width and height exactly, within the limits above: width and height
// become the tile size, columns and rows the tiling, and the result is columns x rows. Otherwise
// the size stays, columns and rows are 1 and the result is 0 (also for zero or negative sizes).
int32_t MatchTileLayout(const std::vector<VideoMode>& modes, int32_t& width, int32_t& height,
                        int32_t& columns, int32_t& rows);
