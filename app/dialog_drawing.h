// Helpers of the calibration window's drawing: a window's scale, scaled pictures and a target.
#pragma once

#include <windows.h>

#include "app/target_graphic.h"

// The display scale of a window (96 = 100 %).
UINT WindowDpi(HWND window);

// A bitmap resource stretched from 100 % to the scale dpi.
HBITMAP LoadScaledPicture(HINSTANCE instance, UINT id, UINT dpi);

// A target's rings (red on white) and its black cross, at its centre.
void DrawRingsAndCross(const TargetGraphic& g, HDC dc);
