// Wide text of the command line as UTF-8.
#include "tools/tarnix_fleet/wide_text.h"

#include <cstdint>

namespace {

void Append(std::string& out, uint32_t code) {
    if (code < 0x80) {
        out += static_cast<char>(code);
    } else if (code < 0x800) {
        out += static_cast<char>(0xC0 | (code >> 6));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        out += static_cast<char>(0xE0 | (code >> 12));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (code >> 18));
        out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (code & 0x3F));
    }
}

bool High(uint32_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool Low(uint32_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

std::string Utf8FromWide(const std::wstring& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t code = static_cast<uint32_t>(text[i]);
        if (High(code) && i + 1 < text.size() && Low(static_cast<uint32_t>(text[i + 1])))
            code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<uint32_t>(text[++i]) - 0xDC00);
        else if (High(code) || Low(code) || code > 0x10FFFF)
            code = 0xFFFD;
        Append(out, code);
    }
    return out;
}
