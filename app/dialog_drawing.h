// Display-scale helpers of the calibration window's drawing: a window's scale and scaled pictures.
#pragma once

#include <windows.h>

// The display scale of a window (96 = 100 %).
UINT WindowDpi(HWND window);

// A bitmap resource stretched from 100 % to the scale dpi.
HBITMAP LoadScaledPicture(HINSTANCE instance, UINT id, UINT dpi);
