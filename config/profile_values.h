// Reading and converting the values of "Tarnix.cfg": text fetch, integer, real and flag keys.
#pragma once

#include <cstddef>
#include <cstdint>

// The one section of the configuration file.
inline constexpr const wchar_t* kCfgSection = L"TARNIX-APP";

// Values are fetched with room for 200 characters: at most 199 are significant.
inline constexpr size_t kProfileValueCapacity = 200;

// Decimal conversion of the leading part (blanks, sign, digits); 0 without digits; saturates at the
// 32-bit limits.
int32_t ConvertLeadingInteger(const wchar_t* text);

// Decimal floating-point conversion of the leading part ("." as decimal point, optional exponent);
// 0.0 without a number. Stores false in *finite when the number overflows the double range.
double ConvertLeadingReal(const wchar_t* text, bool* finite = nullptr);

// Fetches key from the configuration section of path into out; true when the text is non-empty.
bool FetchCfgText(const wchar_t* path, const wchar_t* key, wchar_t (&out)[kProfileValueCapacity]);

// Typed keys: the default when the key is absent or empty.
int32_t ReadCfgInteger(const wchar_t* path, const wchar_t* key, int32_t defaultValue);
bool ReadCfgFlag(const wchar_t* path, const wchar_t* key, bool defaultValue);
double ReadCfgReal(const wchar_t* path, const wchar_t* key, double defaultValue);

// A real key without a fixed default: true and *value set when present with a finite number;
// a number out of the double range counts as absent (with a trace naming the key).
bool ReadCfgOptionalReal(const wchar_t* path, const wchar_t* key, double* value);

// An integer key: true and *value set when present.
bool ReadCfgOptionalInteger(const wchar_t* path, const wchar_t* key, int32_t* value);

// Formats a numbered key name such as "TargetGridX%02d" into out (room for 64 characters).
void FormatNumberedKey(wchar_t (&out)[64], const wchar_t* format, int index);
