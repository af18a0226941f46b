// Portable private-profile lookup: reads and decodes the file, once per reading pass, and answers
// through the profile parser.
#include <map>
#include <memory>
#include <string>

#include "platform/debug_trace.h"
#include "platform/platform.h"
#include "platform/profile_reader.h"
#include "platform/profile_size.h"

namespace {

// The decoded file, or none when it cannot be read or is over the limit: one byte more than the
// limit is read, so a file that grows meanwhile is refused as well, never cut.
std::unique_ptr<ProfileIndex> ReadProfile(const std::wstring& path) {
    std::string bytes;
    if (!PlatformReadTextFile(path, bytes, size_t(kMaxProfileBytes) + 1)) return nullptr;
    if (bytes.size() > kMaxProfileBytes) {
        uint64_t size = bytes.size();
        PlatformFileSize(path, size);
        DebugPrint(L"%s", OversizedProfileText(path, size).c_str());
        return nullptr;
    }
    return std::make_unique<ProfileIndex>(DecodeProfileBytes(bytes));
}

thread_local int PassDepth = 0;
// The files decoded in the current pass; null for a file that could not be read.
thread_local std::map<std::wstring, std::unique_ptr<ProfileIndex>> Cache;

// The index of the file at path, from the cache during a pass; none when it cannot be read.
const ProfileIndex* IndexFor(const std::wstring& path, std::unique_ptr<ProfileIndex>& uncached) {
    if (PassDepth == 0) {
        uncached = ReadProfile(path);
        return uncached.get();
    }
    auto [entry, added] = Cache.try_emplace(path);
    if (added) entry->second = ReadProfile(path);
    return entry->second.get();
}

// The platform drops trailing spaces of the default before using it.
std::wstring_view TrimTrailingSpaces(const wchar_t* text) {
    std::wstring_view view(text ? text : L"");
    while (view.size() > 1 && view.back() == L' ') view.remove_suffix(1);
    return view;
}

}  // namespace

ProfileReadingPass::ProfileReadingPass() { ++PassDepth; }

ProfileReadingPass::~ProfileReadingPass() {
    if (--PassDepth == 0) Cache.clear();
}

size_t PlatformReadProfileString(const wchar_t* section, const wchar_t* key,
                                 const wchar_t* defaultValue, wchar_t* out, size_t capacity,
                                 const wchar_t* path) {
    std::wstring fallback(TrimTrailingSpaces(defaultValue));
    std::unique_ptr<ProfileIndex> uncached;
    const ProfileIndex* index = path ? IndexFor(path, uncached) : nullptr;
    if (index == nullptr) return CopyProfileEntry(fallback, out, capacity);
    return index->Lookup(section, key, fallback.c_str(), out, capacity);
}
