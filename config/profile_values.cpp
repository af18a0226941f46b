// Conversions of the leading part of configuration values and the typed key readers.
#include "config/profile_values.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <limits>
#include <string>

#include "platform/debug_trace.h"
#include "platform/platform.h"

namespace {

bool IsLeadingBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f';
}

bool IsDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

// Copies the numeric prefix of text (sign, digits, point, exponent) as ASCII; empty when there is
// no digit in the mantissa.
std::string RealPrefix(const wchar_t* text) {
    const wchar_t* p = text;
    while (IsLeadingBlank(*p)) ++p;
    std::string prefix;
    if (*p == L'+' || *p == L'-') prefix.push_back(static_cast<char>(*p++));
    bool digits = false;
    while (IsDigit(*p)) prefix.push_back(static_cast<char>(*p++)), digits = true;
    if (*p == L'.') {
        prefix.push_back(static_cast<char>(*p++));
        while (IsDigit(*p)) prefix.push_back(static_cast<char>(*p++)), digits = true;
    }
    if (!digits) return std::string();
    if (*p == L'e' || *p == L'E') {
        const wchar_t* q = p + 1;
        if (*q == L'+' || *q == L'-') ++q;
        if (IsDigit(*q)) {
            while (p < q) prefix.push_back(static_cast<char>(*p++));
            while (IsDigit(*p)) prefix.push_back(static_cast<char>(*p++));
        }
    }
    return prefix;
}

}  // namespace

int32_t ConvertLeadingInteger(const wchar_t* text) {
    const wchar_t* p = text;
    while (IsLeadingBlank(*p)) ++p;
    bool negative = *p == L'-';
    if (*p == L'+' || *p == L'-') ++p;
    int64_t magnitude = 0;
    const int64_t limit = int64_t(std::numeric_limits<int32_t>::max()) + 1;
    for (; IsDigit(*p); ++p) {
        magnitude = magnitude * 10 + (*p - L'0');
        if (magnitude > limit) magnitude = limit;
    }
    int64_t value = negative ? -magnitude : magnitude;
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

double ConvertLeadingReal(const wchar_t* text, bool* finite) {
    std::string prefix = RealPrefix(text);
    if (finite) *finite = true;
    if (prefix.empty()) return 0.0;
    const char* first = prefix.c_str() + (prefix[0] == '+' ? 1 : 0);
    double value = 0.0;
    auto result = std::from_chars(first, prefix.c_str() + prefix.size(), value);
    if (result.ec == std::errc::result_out_of_range) value = std::strtod(prefix.c_str(), nullptr);
    if (finite) *finite = std::isfinite(value);
    return value;
}

bool FetchCfgText(const wchar_t* path, const wchar_t* key, wchar_t (&out)[kProfileValueCapacity]) {
    out[0] = L'\0';
    PlatformReadProfileString(kCfgSection, key, L"", out, kProfileValueCapacity, path);
    out[kProfileValueCapacity - 1] = L'\0';
    return out[0] != L'\0';
}

bool ReadCfgOptionalInteger(const wchar_t* path, const wchar_t* key, int32_t* value) {
    wchar_t text[kProfileValueCapacity];
    if (!FetchCfgText(path, key, text)) return false;
    *value = ConvertLeadingInteger(text);
    return true;
}

int32_t ReadCfgInteger(const wchar_t* path, const wchar_t* key, int32_t defaultValue) {
    int32_t value = defaultValue;
    ReadCfgOptionalInteger(path, key, &value);
    return value;
}

bool ReadCfgFlag(const wchar_t* path, const wchar_t* key, bool defaultValue) {
    int32_t value = 0;
    return ReadCfgOptionalInteger(path, key, &value) ? value != 0 : defaultValue;
}

bool ReadCfgOptionalReal(const wchar_t* path, const wchar_t* key, double* value) {
    wchar_t text[kProfileValueCapacity];
    if (!FetchCfgText(path, key, text)) return false;
    bool finite = true;
    double converted = ConvertLeadingReal(text, &finite);
    if (!finite) {
        DebugPrint(L"Tarnix.exe: %s is out of range (\"%s\"), ignored", key, text);
        return false;
    }
    *value = converted;
    return true;
}

double ReadCfgReal(const wchar_t* path, const wchar_t* key, double defaultValue) {
    double value = defaultValue;
    ReadCfgOptionalReal(path, key, &value);
    return value;
}

void FormatNumberedKey(wchar_t (&out)[64], const wchar_t* format, int index) {
    std::swprintf(out, 64, format, index);
}
