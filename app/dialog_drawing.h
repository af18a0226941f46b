// Drawing services of the calibration window used by its handlers.
#pragma once

#include <windows.h>

class CalibrationDialog;

// The dwell of the waiting target is over: it is drawn at the next paint.
void EndTargetDwell(CalibrationDialog& dialog);

// Deletes the button pictures (at destruction, and when the display scale changes).
void ReleaseButtonPictures(CalibrationDialog& dialog);

// The display scale of a window (96 = 100 %).
UINT WindowDpi(HWND window);

// A bitmap resource stretched from 100 % to the scale dpi.
HBITMAP LoadScaledPicture(HINSTANCE instance, UINT id, UINT dpi);

// Sizes a bitmap button to its picture and a margin at the window's scale.
void SizeButtonToPicture(const CalibrationDialog& dialog, HWND button, HBITMAP picture);
