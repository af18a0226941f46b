// The length of the no-touch countdown of a pass.
//
// Sixty seconds. Builds made with TARNIX_TEST_SETTINGS (the test builds) also honour the
// environment variable "TARNIX_TEST_COUNTDOWN" (1 to 60 seconds), so whole-program tests can let
// a pass run out without waiting a minute; other builds ignore it.
#pragma once

#include <cstdint>

inline constexpr int32_t kDefaultCountdownSeconds = 60;

// The countdown length a setting text asks for: 1..60, else the default.
int32_t CountdownLengthFromSetting(const char* text);

// The countdown length of this build and process.
int32_t PassCountdownLength();
