// The size limit of a profile file ("Tarnix.cfg", "QuvaOptions.ini"): a larger file is refused
// whole, by every reader and program alike, and never read in part.
#pragma once

#include <cstdint>
#include <string>

// 4 MiB: a 10,000-point configuration with its TargetGrid and TouchGrid keys, saved as UTF-16,
// is about 2.4 MB.
inline constexpr uint64_t kMaxProfileBytes = 4 * 1024 * 1024;

// The size in bytes of the file at path when it is over kMaxProfileBytes; 0 when it is within the
// limit or cannot be sized.
uint64_t OversizedProfileBytes(const std::wstring& path);

// Why a file of bytes bytes is not read: "the profile file PATH holds N bytes, more than the
// limit of 4194304: it is not read".
std::wstring OversizedProfileText(const std::wstring& path, uint64_t bytes);
