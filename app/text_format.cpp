// Safe number formatting of translated texts.
#include "app/text_format.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Replaces the successive "%<conversion>" of format by values (one beyond the last value is kept
// as it is) and "%%" by "%"; every other character is kept. Cut to maxLength characters.
std::wstring ReplaceConversions(const std::wstring& format, wchar_t conversion,
                                const std::vector<std::wstring>& values, size_t maxLength) {
    std::wstring out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size()) {
            if (format[i + 1] == L'%') {
                out += L'%';
                ++i;
                continue;
            }
            if (format[i + 1] == conversion && next < values.size()) {
                out += values[next++];
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    if (out.size() > maxLength) out.resize(maxLength);
    return out;
}

}  // namespace

std::wstring FormatNumberText(const std::wstring& format, int32_t value, size_t maxLength) {
    return ReplaceConversions(format, L'd', {std::to_wstring(value)}, maxLength);
}

std::wstring FormatWordsText(const std::wstring& format, const std::vector<std::wstring>& words,
                             size_t maxLength) {
    return ReplaceConversions(format, L's', words, maxLength);
}

std::wstring DecimalText(double value, int decimals) {
    if (!std::isfinite(value)) return L"-";
    decimals = std::clamp(decimals, 0, kMaxDecimals);
    // Sized by a first measuring call: the largest double has 309 digits before the point.
    const int length = std::snprintf(nullptr, 0, "%.*f", decimals, value);
    if (length <= 0) return L"-";
    std::string text(size_t(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), "%.*f", decimals, value);
    text.resize(size_t(length));
    return std::wstring(text.begin(), text.end());
}

std::wstring ListText(const std::vector<std::wstring>& items, const std::wstring& lastSeparator) {
    std::wstring text;
    for (size_t i = 0; i < items.size(); ++i) {
        if (i > 0) text += i + 1 == items.size() ? lastSeparator : L", ";
        text += items[i];
    }
    return text;
}
