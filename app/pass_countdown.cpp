// The length of the no-touch countdown of a pass, with its test-only setting.
#include "app/pass_countdown.h"

#include <cerrno>
#include <cstdlib>

int32_t CountdownLengthFromSetting(const char* text) {
    if (text == nullptr || *text == '\0') return kDefaultCountdownSeconds;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (errno != 0 || *end != '\0' || value < 1 || value > kDefaultCountdownSeconds)
        return kDefaultCountdownSeconds;
    return static_cast<int32_t>(value);
}

int32_t PassCountdownLength() {
#ifdef TARNIX_TEST_SETTINGS
    return CountdownLengthFromSetting(std::getenv("TARNIX_TEST_COUNTDOWN"));
#else
    return kDefaultCountdownSeconds;
#endif
}
