// Private-profile (INI) lookup over decoded file text, answering as the Win32 profile functions do.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <unordered_map>

// Decodes the bytes of a profile file: UTF-16 (LE/BE) or UTF-8 when a byte-order mark says so,
// otherwise Windows-1252 (the ANSI code page the platform uses for such files).
std::wstring DecodeProfileBytes(std::string_view bytes);

// The sections and keys of one decoded profile file, parsed once for any number of lookups.
class ProfileIndex {
  public:
    explicit ProfileIndex(std::wstring text);
    ProfileIndex(const ProfileIndex&) = delete;  // the index points into its own text
    ProfileIndex& operator=(const ProfileIndex&) = delete;

    // Copies into out (capacity characters including the terminator) the value of key in the
    // first section named section (names compared without regard to case, surrounding blanks
    // ignored), or defaultValue when the key is missing or has no "=". One pair of matching
    // enclosing quotes (single or double) is dropped. Returns the number of characters copied.
    size_t Lookup(const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue,
                  wchar_t* out, size_t capacity) const;

  private:
    struct Entry {
        bool HasValue = false;
        std::wstring_view Value;
    };
    using Section = std::unordered_map<std::wstring_view, Entry>;  // by upper-cased key

    std::wstring text_;
    std::wstring folded_;  // text_ upper-cased, the keys of the maps point into it
    std::unordered_map<std::wstring_view, Section> sections_;  // first of each name only
};

// One lookup in fileText, as ProfileIndex::Lookup.
size_t LookupProfileString(std::wstring_view fileText, const wchar_t* section, const wchar_t* key,
                           const wchar_t* defaultValue, wchar_t* out, size_t capacity);

// Copies a found value or a default into out as the platform does (quote pair dropped,
// truncated to capacity - 1 characters); returns the number of characters copied.
size_t CopyProfileEntry(std::wstring_view value, wchar_t* out, size_t capacity);
