// Printable ASCII of the tool's wide text, for its messages, and its paths for the file system.
#include "tools/tarnix_fit/tool_text.h"

#ifndef _WIN32
#include "platform/portable_text.h"
#endif

std::string PrintableText(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) out.push_back(c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '?');
    return out;
}

#ifdef _WIN32
std::filesystem::path ToolPath(const std::wstring& path) { return std::filesystem::path(path); }
std::wstring ToolWidePath(const std::filesystem::path& path) { return path.native(); }
#else
std::filesystem::path ToolPath(const std::wstring& path) {
    return std::filesystem::path(NarrowFromWide(path));
}
std::wstring ToolWidePath(const std::filesystem::path& path) {
    return WideFromNarrow(path.c_str());
}
#endif
