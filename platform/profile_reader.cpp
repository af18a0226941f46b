// Private-profile (INI) parsing and lookup with the platform's rules for blanks, quotes and lines.
#include "platform/profile_reader.h"

#include <cwctype>
#include <utility>

namespace {

// The platform treats Ctrl-Z as a blank as well.
bool IsProfileBlank(wchar_t c) {
    return c == L' ' || c == L'\t' || c == L'\n' || c == L'\r' || c == L'\v' || c == L'\f' ||
           c == 0x1a;
}

std::wstring_view TrimBlanks(std::wstring_view text) {
    while (!text.empty() && IsProfileBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsProfileBlank(text.back())) text.remove_suffix(1);
    return text;
}

wchar_t FoldCase(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? static_cast<wchar_t>(c - L'a' + L'A')
                                    : static_cast<wchar_t>(std::towupper(c));
}

const wchar_t kWindows1252High[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

std::wstring DecodeWindows1252(std::string_view bytes) {
    std::wstring text;
    text.reserve(bytes.size());
    for (unsigned char b : bytes) {
        text.push_back(b >= 0x80 && b < 0xA0 ? kWindows1252High[b - 0x80] : wchar_t(b));
    }
    return text;
}

void AppendCodePoint(std::wstring& text, char32_t cp) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (cp >= 0x10000) {
            cp -= 0x10000;
            text.push_back(static_cast<wchar_t>(0xD800 + (cp >> 10)));
            text.push_back(static_cast<wchar_t>(0xDC00 + (cp & 0x3FF)));
            return;
        }
    }
    text.push_back(static_cast<wchar_t>(cp));
}

// Malformed sequences become U+FFFD, as the platform's converter does.
std::wstring DecodeUtf8(std::string_view bytes) {
    std::wstring text;
    size_t i = 0;
    while (i < bytes.size()) {
        unsigned char b = bytes[i];
        int extra = b < 0x80 ? 0 : (b >> 5) == 6 ? 1 : (b >> 4) == 14 ? 2 : (b >> 3) == 30 ? 3 : -1;
        char32_t cp = extra == 0 ? b : extra == 1 ? (b & 0x1F) : extra == 2 ? (b & 0x0F) : (b & 7);
        bool valid = extra >= 0 && i + extra < bytes.size();
        for (int k = 1; valid && k <= extra; ++k) {
            unsigned char c = bytes[i + k];
            if ((c >> 6) != 2) valid = false;
            cp = (cp << 6) | (c & 0x3F);
        }
        if (!valid) {
            text.push_back(0xFFFD);
            ++i;
            continue;
        }
        AppendCodePoint(text, cp);
        i += extra + 1;
    }
    return text;
}

std::wstring DecodeUtf16(std::string_view bytes, bool bigEndian) {
    std::wstring text;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        unsigned lo = static_cast<unsigned char>(bytes[i + (bigEndian ? 1 : 0)]);
        unsigned hi = static_cast<unsigned char>(bytes[i + (bigEndian ? 0 : 1)]);
        char32_t unit = (hi << 8) | lo;
        if constexpr (sizeof(wchar_t) == 4) {
            if (unit >= 0xD800 && unit < 0xDC00 && i + 3 < bytes.size()) {
                unsigned lo2 = static_cast<unsigned char>(bytes[i + 2 + (bigEndian ? 1 : 0)]);
                unsigned hi2 = static_cast<unsigned char>(bytes[i + 2 + (bigEndian ? 0 : 1)]);
                char32_t low = (hi2 << 8) | lo2;
                if (low >= 0xDC00 && low < 0xE000) {
                    text.push_back(
                        static_cast<wchar_t>(0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00)));
                    i += 2;
                    continue;
                }
            }
        }
        text.push_back(static_cast<wchar_t>(unit));
    }
    return text;
}

// One line of the file, already split off and trimmed.
struct ProfileLine {
    bool isSection = false;
    std::wstring_view name;
    bool hasValue = false;
    std::wstring_view value;
};

ProfileLine ParseLine(std::wstring_view line) {
    ProfileLine parsed;
    if (line.front() == L'[') {
        size_t close = line.rfind(L']');
        if (close != std::wstring_view::npos && close > 0) {
            parsed.isSection = true;
            parsed.name = TrimBlanks(line.substr(1, close - 1));
            return parsed;
        }
    }
    size_t equals = line.find(L'=');
    if (equals == std::wstring_view::npos) {
        parsed.name = line;
        return parsed;
    }
    parsed.name = TrimBlanks(line.substr(0, equals));
    parsed.hasValue = true;
    parsed.value = TrimBlanks(line.substr(equals + 1));
    return parsed;
}

// Splits at CR and LF (any run of them ends one line) and hands each non-blank trimmed line on.
template <typename Visitor>
void ForEachLine(std::wstring_view text, Visitor&& visit) {
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find_first_of(L"\r\n", pos);
        if (end == std::wstring_view::npos) end = text.size();
        std::wstring_view line = TrimBlanks(text.substr(pos, end - pos));
        pos = text.find_first_not_of(L"\r\n", end);
        if (pos == std::wstring_view::npos) pos = text.size();
        if (!line.empty() && !visit(line)) return;
    }
}

}  // namespace

std::wstring DecodeProfileBytes(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return DecodeUtf8(bytes.substr(3));
    if (bytes.substr(0, 2) == "\xFF\xFE") return DecodeUtf16(bytes.substr(2), false);
    if (bytes.substr(0, 2) == "\xFE\xFF") return DecodeUtf16(bytes.substr(2), true);
    return DecodeWindows1252(bytes);
}

size_t CopyProfileEntry(std::wstring_view value, wchar_t* out, size_t capacity) {
    if (out == nullptr || capacity == 0) return 0;
    bool quoted = value.size() >= 2 && (value.front() == L'"' || value.front() == L'\'') &&
                  value.back() == value.front();
    if (quoted) value.remove_prefix(1);
    size_t count = value.size() < capacity - 1 ? value.size() : capacity - 1;
    value.copy(out, count);
    out[count] = L'\0';
    // The closing quote is dropped only when the copy could hold the whole rest of the value;
    // the platform then takes the last copied character, whatever it is.
    if (quoted && capacity >= value.size() && count > 0) out[--count] = L'\0';
    return count;
}

ProfileIndex::ProfileIndex(std::wstring text) : text_(std::move(text)), folded_(text_) {
    for (wchar_t& c : folded_) c = FoldCase(c);
    auto folded = [this](std::wstring_view part) {
        return std::wstring_view(folded_.data() + (part.data() - text_.data()), part.size());
    };
    Section* current = nullptr;  // null before the first section and in a repeated one
    ForEachLine(text_, [&](std::wstring_view line) {
        ProfileLine parsed = ParseLine(line);
        if (parsed.isSection) {
            auto [place, added] = sections_.try_emplace(folded(parsed.name));
            current = added ? &place->second : nullptr;
        } else if (current != nullptr) {
            current->try_emplace(folded(parsed.name), Entry{parsed.hasValue, parsed.value});
        }
        return true;
    });
}

size_t ProfileIndex::Lookup(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                            wchar_t* out, size_t capacity) const {
    // Lookups come by the thousand: the folded names reuse one buffer per thread.
    thread_local std::wstring folded;
    auto fold = [](const wchar_t* name) {
        folded.assign(TrimBlanks(name ? name : L""));
        for (wchar_t& c : folded) c = FoldCase(c);
        return std::wstring_view(folded);
    };
    std::wstring_view value(defaultValue ? defaultValue : L"");
    auto place = sections_.find(fold(section));
    if (place != sections_.end()) {
        auto entry = place->second.find(fold(key));
        if (entry != place->second.end() && entry->second.HasValue) value = entry->second.Value;
    }
    return CopyProfileEntry(value, out, capacity);
}

size_t LookupProfileString(std::wstring_view fileText, const wchar_t* section, const wchar_t* key,
                           const wchar_t* defaultValue, wchar_t* out, size_t capacity) {
    return ProfileIndex(std::wstring(fileText)).Lookup(section, key, defaultValue, out, capacity);
}
