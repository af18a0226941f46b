// JSON text and numbers as the tools write them: valid JSON whatever the bytes or values.
#include "tools/tool_json/json_text.h"

#include <charconv>
#include <cmath>
#include <cstdio>

namespace {

// The length of the well-formed UTF-8 sequence at text[i], 0 when there is none.
size_t Utf8Length(const std::string& text, size_t i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    size_t length = lead < 0x80                    ? 1
                    : lead >= 0xC2 && lead <= 0xDF ? 2
                    : lead >= 0xE0 && lead <= 0xEF ? 3
                    : lead >= 0xF0 && lead <= 0xF4 ? 4
                                                   : 0;
    if (length == 0 || i + length > text.size()) return 0;
    for (size_t k = 1; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80) return 0;
    const unsigned char second = length > 1 ? byte(i + 1) : 0;
    if ((lead == 0xE0 && second < 0xA0) || (lead == 0xED && second >= 0xA0) ||
        (lead == 0xF0 && second < 0x90) || (lead == 0xF4 && second >= 0x90))
        return 0;  // overlong forms, surrogates and code points above U+10FFFF
    return length;
}

std::string Escaped(unsigned value) {
    char text[8];
    std::snprintf(text, sizeof text, "\\u%04x", value);
    return text;
}

}  // namespace

std::string ShortestNumber(double value) {
    char text[64];
    const auto result = std::to_chars(text, text + sizeof text, value);
    return std::string(text, result.ptr);
}

std::string JsonNumber(std::optional<double> value) {
    return value && std::isfinite(*value) ? ShortestNumber(*value) : std::string("null");
}

std::string JsonText(const std::string& text) {
    std::string out = "\"";
    for (size_t i = 0; i < text.size();) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        const size_t length = Utf8Length(text, i);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c < 0x20 || length == 0) {
            out += Escaped(c);
        } else {
            out.append(text, i, length);
        }
        i += length == 0 ? 1 : length;
    }
    return out + "\"";
}
