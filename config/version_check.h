// The driver library's version rule: the decimal number of the leading digits of its
// "ProductVersion" text must be at least 4.
#pragma once

#include <cstdint>

constexpr int32_t kMinimumDriverMajorVersion = 4;

// The number formed by the leading decimal digits ("10.1" gives 10); 0 when there are none,
// clamped to the 32-bit range.
int32_t LeadingVersionNumber(const wchar_t* versionText);

// True when the text is missing (no readable version) or its leading number is below 4.
bool IsDriverVersionTooOld(const wchar_t* versionText);
