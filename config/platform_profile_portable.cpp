// Portable private-profile lookup: reads the file and answers through the profile parser.
#include <fstream>
#include <iterator>
#include <string>

#include "config/platform.h"
#include "config/portable_text.h"
#include "config/profile_reader.h"

namespace {

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
    std::ifstream file(path ? NarrowFromWide(path) : std::string(), std::ios::binary);
    if (!file) return CopyProfileEntry(fallback, out, capacity);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    return LookupProfileString(DecodeProfileBytes(bytes), section, key, fallback.c_str(), out,
                               capacity);
}
