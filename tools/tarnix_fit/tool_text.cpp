// Conversions between the tool's wide paths and its narrow console text.
#include "tools/tarnix_fit/tool_text.h"

#include <cstdlib>
#include <cwchar>

std::string PrintableText(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) out.push_back(c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '?');
    return out;
}

std::wstring WidenArgument(const char* text) {
    std::mbstate_t state{};
    std::wstring out;
    const char* p = text;
    size_t length = std::mbsrtowcs(nullptr, &p, 0, &state);
    if (length == static_cast<size_t>(-1)) {
        for (const char* q = text; *q; ++q) out.push_back(static_cast<unsigned char>(*q));
        return out;
    }
    out.resize(length);
    p = text;
    state = std::mbstate_t{};
    std::mbsrtowcs(out.data(), &p, length, &state);
    return out;
}
