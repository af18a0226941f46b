// Wide/narrow conversions through the C library's current locale; ASCII passes through unchanged.
#include <climits>
#include <cstring>
#include <cwchar>
#include <string>

#include "config/portable_text.h"

std::wstring WideFromNarrow(const char* text) {
    std::wstring out;
    std::mbstate_t state{};
    for (const char* p = text; *p != '\0';) {
        wchar_t c = 0;
        size_t used = std::mbrtowc(&c, p, std::strlen(p), &state);
        if (used == static_cast<size_t>(-1) || used == static_cast<size_t>(-2) || used == 0) {
            c = static_cast<unsigned char>(*p);  // not valid in this locale: keep the byte
            used = 1;
            state = std::mbstate_t{};
        }
        out += c;
        p += used;
    }
    return out;
}

std::string NarrowFromWide(const std::wstring& text) {
    std::string out;
    std::mbstate_t state{};
    char bytes[MB_LEN_MAX];
    for (wchar_t c : text) {
        size_t length = std::wcrtomb(bytes, c, &state);
        if (length == static_cast<size_t>(-1)) {
            out += c < 0x100 ? static_cast<char>(c) : '?';
            state = std::mbstate_t{};
        } else {
            out.append(bytes, length);
        }
    }
    return out;
}
