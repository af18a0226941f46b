// Wide text of the command line as UTF-8.
#include "tools/tarnix_fleet/wide_text.h"

#include <cstdint>

#include "tools/tool_json/json_value.h"

namespace {

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
        AppendUtf8(out, code);
    }
    return out;
}
