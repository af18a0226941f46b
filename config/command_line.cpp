// The command-line parser: "-N monitor", "-S screen index", "-V", any other letter stops.
#include "config/command_line.h"

#include <cstdint>

namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

// Leading blanks, then decimal digits (no sign: a '-' starts the next option); 0 when there are
// none. Advances past them.
int32_t ReadNumber(const wchar_t*& p) {
    while (IsBlank(*p)) ++p;
    int64_t value = 0;
    while (*p >= L'0' && *p <= L'9') {
        if (value <= INT32_MAX) value = value * 10 + (*p - L'0');
        ++p;
    }
    return int32_t(value > INT32_MAX ? INT32_MAX : value);
}

}  // namespace

bool ParseCommandLine(const wchar_t* text, CommandLineOptions& options) {
    if (text == nullptr) return true;
    for (const wchar_t* p = text; *p != L'\0';) {
        if (*p++ != L'-') continue;
        wchar_t letter = *p;
        if (letter == L'\0') break;
        ++p;
        if (letter == L'N' || letter == L'n') {
            options.OptionMonitor = ReadNumber(p);
            options.HasMonitor = true;
            options.ExplicitTarget = true;
        } else if (letter == L'S' || letter == L's') {
            options.ScreenIndex = ReadNumber(p);
            options.HasScreen = true;
            options.ExplicitTarget = true;
        } else if (letter == L'V' || letter == L'v') {
            options.Verify = true;
        } else {
            return false;
        }
    }
    return true;
}
