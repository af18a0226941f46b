// Formatting texts of the language libraries that carry numbers, without trusting them as printf
// formats.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Replaces the first "%d" of format by value and "%%" by "%"; every other character, other '%'
// sequences included, is kept as it is. The result is cut to at most maxLength characters.
std::wstring FormatNumberText(const std::wstring& format, int32_t value, size_t maxLength);

// Replaces the successive "%s" of format by words (a "%s" beyond the last word is kept as it is)
// and "%%" by "%"; the result is cut to at most maxLength characters.
std::wstring FormatWordsText(const std::wstring& format, const std::vector<std::wstring>& words,
                             size_t maxLength);

// The most decimals DecimalText writes; more are taken as this many, fewer than 0 as 0.
inline constexpr int kMaxDecimals = 20;

// A number with a fixed count of decimals and a point ("0.4"), every digit of it however large;
// "-" for one that is not finite.
std::wstring DecimalText(double value, int decimals);

// Items joined by ", ", the last two by lastSeparator ("0.6, 0.9 and 1.1" with " and ").
std::wstring ListText(const std::vector<std::wstring>& items, const std::wstring& lastSeparator);
