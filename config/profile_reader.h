// Private-profile (INI) lookup over decoded file text, answering as the Win32 profile functions do.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// Decodes the bytes of a profile file: UTF-16 (LE/BE) or UTF-8 when a byte-order mark says so,
// otherwise Windows-1252 (the ANSI code page the platform uses for such files).
std::wstring DecodeProfileBytes(std::string_view bytes);

// Copies into out (capacity characters including the terminator) the value of key in the first
// section named section (names compared without regard to case, surrounding blanks ignored), or
// defaultValue when the key is missing or has no "=". One pair of matching enclosing quotes (single
// or double) is dropped. Returns the number of characters copied.
size_t LookupProfileString(std::wstring_view fileText, const wchar_t* section, const wchar_t* key,
                           const wchar_t* defaultValue, wchar_t* out, size_t capacity);

// Copies a found value or a default into out as the platform does (quote pair dropped,
// truncated to capacity - 1 characters); returns the number of characters copied.
size_t CopyProfileEntry(std::wstring_view value, wchar_t* out, size_t capacity);
