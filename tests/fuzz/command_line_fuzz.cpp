// Fuzz target: arbitrary command lines (the bytes as UTF-16 units) through the option scanner.
#include <string>

#include "config/command_line.h"
#include "tests/fuzz/fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::wstring line;
    for (size_t i = 0; i + 1 < size; i += 2) {
        wchar_t unit = wchar_t(data[i] | (data[i + 1] << 8));
        if (unit == 0) break;
        line.push_back(unit);
    }
    CommandLineOptions options;
    ParseCommandLine(line.c_str(), options);
    // The numbers have no sign: nothing read is negative, and nothing unread changes.
    FUZZ_CHECK(options.OptionMonitor >= 0);
    FUZZ_CHECK(options.HasScreen ? options.ScreenIndex >= 0 : options.ScreenIndex == -1);
    FUZZ_CHECK(options.HasMonitor || options.OptionMonitor == 0);
    FUZZ_CHECK(options.ExplicitTarget == (options.HasMonitor || options.HasScreen));
    return 0;
}
