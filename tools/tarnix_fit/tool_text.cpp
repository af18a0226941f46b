// Printable ASCII of the tool's wide text, for its messages.
#include "tools/tarnix_fit/tool_text.h"

std::string PrintableText(const std::wstring& text) {
    std::string out;
    out.reserve(text.size());
    for (wchar_t c : text) out.push_back(c >= 0x20 && c < 0x7f ? static_cast<char>(c) : '?');
    return out;
}
