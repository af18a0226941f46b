// The command-line options: "-N monitor", "-S screen index" and "-V" (verify); any other letter
// after a '-' stops start-up.
#pragma once

#include <cstdint>

struct CommandLineOptions {
    int32_t OptionMonitor = 0;  // from -N / -n; 0 = none
    bool HasMonitor = false;
    int32_t ScreenIndex = -1;  // from -S / -s
    bool HasScreen = false;
    bool ExplicitTarget = false;  // -N or -S was given
    bool Verify = false;  // -V / -v: verify the calibration the driver holds, change nothing
};

// Scans the whole command line (program path included) for '-'. Returns false when the character
// after a '-' is not N, n, S, s, V or v: start-up stops. The number after the letter is unsigned
// decimal and may follow blanks; none reads as 0 (so "-N -2" is -N with 0, then the option "-2",
// which stops), and values beyond the 32-bit range are clamped.
bool ParseCommandLine(const wchar_t* text, CommandLineOptions& options);
