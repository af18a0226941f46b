// UTF-8 conversions of the portable build, with undecodable bytes carried through unchanged.
#include <cstring>
#include <string>

#include "platform/portable_text.h"

namespace {

// U+DC80 .. U+DCFF carry the bytes 0x80 .. 0xFF that are not valid UTF-8.
constexpr char32_t kEscapedByteBase = 0xDC00;

bool IsSurrogate(char32_t c) { return c >= 0xD800 && c <= 0xDFFF; }

// The length of the well-formed UTF-8 sequence at p (its code point in cp), or 0 when the bytes
// there are not one (a stray or missing continuation byte, an overlong form, a surrogate, a value
// beyond U+10FFFF).
size_t DecodeSequence(const unsigned char* p, size_t available, char32_t& cp) {
    static constexpr char32_t kSmallest[] = {0, 0, 0x80, 0x800, 0x10000};
    const unsigned char lead = p[0];
    const size_t length = lead < 0x80             ? 1
                          : (lead & 0xE0) == 0xC0 ? 2
                          : (lead & 0xF0) == 0xE0 ? 3
                          : (lead & 0xF8) == 0xF0 ? 4
                                                  : 0;
    if (length == 0 || length > available) return 0;
    cp = length == 1 ? lead : lead & (0x7F >> length);
    for (size_t k = 1; k < length; ++k) {
        if ((p[k] & 0xC0) != 0x80) return 0;
        cp = (cp << 6) | (p[k] & 0x3F);
    }
    if (cp < kSmallest[length] || cp > 0x10FFFF || IsSurrogate(cp)) return 0;
    return length;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
        return;
    }
    const int continuation = c < 0x800 ? 1 : c < 0x10000 ? 2 : 3;
    static constexpr unsigned char kLeadMarks[] = {0, 0xC0, 0xE0, 0xF0};
    out += static_cast<char>(kLeadMarks[continuation] | (c >> (6 * continuation)));
    for (int k = continuation - 1; k >= 0; --k)
        out += static_cast<char>(0x80 | ((c >> (6 * k)) & 0x3F));
}

}  // namespace

std::wstring WideFromNarrow(const char* text) {
    std::wstring out;
    const auto* p = reinterpret_cast<const unsigned char*>(text);
    for (size_t left = std::strlen(text); left > 0;) {
        char32_t cp = 0;
        size_t used = DecodeSequence(p, left, cp);
        if (used == 0) {
            cp = kEscapedByteBase + *p;  // always 0x80 or above: ASCII is valid UTF-8
            used = 1;
        }
        out += static_cast<wchar_t>(cp);
        p += used;
        left -= used;
    }
    return out;
}

std::string NarrowFromWide(const std::wstring& text) {
    std::string out;
    for (wchar_t w : text) {
        const char32_t c = static_cast<char32_t>(w);
        if (c >= kEscapedByteBase + 0x80 && c <= kEscapedByteBase + 0xFF) {
            out += static_cast<char>(c - kEscapedByteBase);
        } else if (IsSurrogate(c) || c > 0x10FFFF) {
            out += '?';
        } else {
            AppendUtf8(out, c);
        }
    }
    return out;
}
