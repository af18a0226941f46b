// The user options of "QuvaOptions.ini" in the support folder.
#pragma once

// Section "Calibration", key "Transparent": 1 asks for a translucent calibration window.
// 0 when the file is missing (with one trace) or the key is absent.
int getQuvaOptions();
