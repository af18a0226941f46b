// Portable private-profile lookup: reads the file and answers through the profile parser.
#include <fstream>
#include <iterator>
#include <string>

#include "config/platform.h"
#include "config/profile_reader.h"

namespace {

std::string NarrowPath(const wchar_t* path) {
    std::string narrow;
    for (const wchar_t* p = path; *p; ++p) {
        char32_t c = static_cast<char32_t>(*p);
        if (c < 0x80) {
            narrow.push_back(static_cast<char>(c));
        } else if (c < 0x800) {
            narrow.push_back(static_cast<char>(0xC0 | (c >> 6)));
            narrow.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else if (c < 0x10000) {
            narrow.push_back(static_cast<char>(0xE0 | (c >> 12)));
            narrow.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            narrow.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        } else {
            narrow.push_back(static_cast<char>(0xF0 | (c >> 18)));
            narrow.push_back(static_cast<char>(0x80 | ((c >> 12) & 0x3F)));
            narrow.push_back(static_cast<char>(0x80 | ((c >> 6) & 0x3F)));
            narrow.push_back(static_cast<char>(0x80 | (c & 0x3F)));
        }
    }
    return narrow;
}

// The platform drops trailing spaces of the default before using it.
std::wstring_view TrimTrailingSpaces(const wchar_t* text) {
    std::wstring_view view(text ? text : L"");
    while (view.size() > 1 && view.back() == L' ') view.remove_suffix(1);
    return view;
}

}  // namespace

size_t PlatformReadProfileString(const wchar_t* section, const wchar_t* key,
                                 const wchar_t* defaultValue, wchar_t* out, size_t capacity,
                                 const wchar_t* path) {
    std::wstring fallback(TrimTrailingSpaces(defaultValue));
    std::ifstream file(path ? NarrowPath(path) : std::string(), std::ios::binary);
    if (!file) return CopyProfileEntry(fallback, out, capacity);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return LookupProfileString(DecodeProfileBytes(bytes), section, key, fallback.c_str(), out,
                               capacity);
}
