// Safe number formatting of translated texts.
#include "app/text_format.h"

std::wstring FormatNumberText(const std::wstring& format, int32_t value, size_t maxLength) {
    std::wstring out;
    bool numberWritten = false;
    for (size_t i = 0; i < format.size(); ++i) {
        if (format[i] == L'%' && i + 1 < format.size()) {
            if (format[i + 1] == L'%') {
                out += L'%';
                ++i;
                continue;
            }
            if (format[i + 1] == L'd' && !numberWritten) {
                out += std::to_wstring(value);
                numberWritten = true;
                ++i;
                continue;
            }
        }
        out += format[i];
    }
    if (out.size() > maxLength) out.resize(maxLength);
    return out;
}
