// The touch script of the simulated controller: a text file of touches and redo requests, in order.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// One line of a script:
//   raw   <screen> <X> <Y> [z=<Z>] [delay=<ms> | after=<ms>]   raw 16-bit counts as given
//   point <screen> <x> <y> [z=<Z>] [delay=<ms> | after=<ms>]   a screen point (virtual-desktop
//                                                 pixels) that the screen's sensor model turns
//                                                 into counts
// A touch comes once a caller waits for one, after its delay; with after=<ms> it is queued that
// long after the previous line instead, whether anyone waits or not (a finger's bounce).
//   redo  <screen> [delay=<ms>]                   signals the redo request of a calibration
//   cancel [delay=<ms>]                           once a touch call waits, cancels it (the call
//                                                 returns -1, as a cancelled call of the driver)
// Blank lines and lines starting with # or ; are ignored.
enum class ScriptAction { RawTouch, PointTouch, Redo, Cancel };

struct ScriptEntry {
    ScriptAction action = ScriptAction::RawTouch;
    int32_t screen = 0;
    double x = 0.0;
    double y = 0.0;
    int32_t z = -1;        // -1: the sensor's Z
    int32_t delayMs = -1;  // -1: the script's default delay
    int32_t afterMs = -1;  // >= 0: queued this long after the previous line, waited for or not
    int32_t lineNumber = 0;
};

// Parses a whole script; false with a message naming the line on the first bad line.
bool ParseTouchScript(const std::string& text, std::vector<ScriptEntry>* entries,
                      std::string* error);
