// Drawing services of the calibration window used by its handlers.
#pragma once

class CalibrationDialog;

// The dwell of the waiting target is over: it is drawn at the next paint.
void EndTargetDwell(CalibrationDialog& dialog);

// Deletes the button pictures (at destruction).
void ReleaseButtonPictures(CalibrationDialog& dialog);
