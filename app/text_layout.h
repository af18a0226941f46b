// The size and place of the calibration window's texts: read at arm's length on a kiosk, above
// the buttons once they show.
#pragma once

#include <cstdint>

// Cell height of the text font: the System font's, or a fortieth of the area's smaller side on
// areas large enough for more (27 pixels on 1920 x 1080).
int32_t TextHeightForArea(int32_t areaWidth, int32_t areaHeight, int32_t systemFontHeight);

// Top of the instruction or result text: its place (60 pixels below the window's centre at
// 100 %), moved up when a text of textHeight would reach the buttons' top while they show.
int32_t TextTop(int32_t textTop, int32_t buttonsTop, int32_t textHeight, bool buttonsShown);
