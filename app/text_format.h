// Formatting texts of the language libraries that carry one number, without trusting them as
// printf formats.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

// Replaces the first "%d" of format by value and "%%" by "%"; every other character, other '%'
// sequences included, is kept as it is. The result is cut to at most maxLength characters.
std::wstring FormatNumberText(const std::wstring& format, int32_t value, size_t maxLength);
