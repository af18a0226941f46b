// Formatting of trace lines into a bounded buffer, with one meaning of %s on every C library.
#include "platform/trace_format.h"

#include <cwchar>
#include <cwctype>
#include <vector>

namespace {

bool IsLengthModifier(wchar_t c) {
    return c == L'h' || c == L'l' || c == L'L' || c == L'j' || c == L'z' || c == L't' ||
           c == L'q' || c == L'I';
}

// Largest buffer tried when a line does not fit; beyond it the line is cut wherever the C
// library stopped.
constexpr size_t kMaxFormatBuffer = 65536;

}  // namespace

std::wstring WidenStringConversions(const wchar_t* format) {
    std::wstring out;
    for (const wchar_t* p = format; *p != L'\0';) {
        if (*p != L'%') {
            out += *p++;
            continue;
        }
        out += *p++;  // '%'
        bool hasLength = false;
        while (*p != L'\0' && (std::wcschr(L"-+ #0'*.", *p) != nullptr || std::iswdigit(*p) ||
                               IsLengthModifier(*p))) {
            hasLength = hasLength || IsLengthModifier(*p);
            out += *p++;
        }
        if (*p == L's' && !hasLength) out += L'l';
        if (*p != L'\0') out += *p++;
    }
    return out;
}

std::wstring FormatTraceLine(const wchar_t* format, va_list args) {
    const std::wstring widened = WidenStringConversions(format);
    std::vector<wchar_t> buffer(kMaxTraceLength + 1);
    while (true) {
        va_list attempt;
        va_copy(attempt, args);
        int written = std::vswprintf(buffer.data(), buffer.size(), widened.c_str(), attempt);
        va_end(attempt);
        if (written >= 0 || buffer.size() >= kMaxFormatBuffer) break;
        buffer.assign(buffer.size() * 4, L'\0');  // did not fit (or failed): try a larger one
    }
    buffer.back() = L'\0';
    std::wstring line(buffer.data());
    if (line.size() > kMaxTraceLength) line.resize(kMaxTraceLength);
    return line;
}
