// Folders, paths and whole small files on the portable build: TARNIX_SUPPORT_DIR and
// TARNIX_REPORT_DIR, with defaults "Zeph/Touch" under the current directory and
// "$XDG_DATA_HOME/Zeph/Touch"; files read as bytes.
#include <sys/stat.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/platform.h"
#include "platform/portable_text.h"

namespace {

std::wstring WithoutTrailingSlash(std::wstring path) {
    while (path.size() > 1 && path.back() == L'/') path.pop_back();
    return path;
}

std::wstring FromEnvironment(const char* name) {
    const char* value = std::getenv(name);
    return value == nullptr ? std::wstring() : WideFromNarrow(value);
}

}  // namespace

std::wstring PlatformSupportFolder() {
    std::wstring folder = FromEnvironment("TARNIX_SUPPORT_DIR");
    return WithoutTrailingSlash(folder.empty() ? L"Zeph/Touch" : folder);
}

std::wstring PlatformReportFolder() {
    std::wstring folder = FromEnvironment("TARNIX_REPORT_DIR");
    if (folder.empty()) {
        std::wstring data = FromEnvironment("XDG_DATA_HOME");
        std::wstring home = FromEnvironment("HOME");
        if (!data.empty()) {
            folder = PlatformJoinPath(data, L"Zeph/Touch");
        } else if (!home.empty()) {
            folder = PlatformJoinPath(home, L".local/share/Zeph/Touch");
        } else {
            folder = L"reports";
        }
    }
    return WithoutTrailingSlash(folder);
}

std::wstring PlatformJoinPath(const std::wstring& folder, const std::wstring& name) {
    if (folder.empty()) return name;
    return folder.back() == L'/' ? folder + name : folder + L'/' + name;
}

bool PlatformFileExists(const std::wstring& path) {
    struct stat info;
    return stat(NarrowFromWide(path).c_str(), &info) == 0;
}

bool PlatformFileSize(const std::wstring& path, uint64_t& bytes) {
    struct stat info;
    if (stat(NarrowFromWide(path).c_str(), &info) != 0 || !S_ISREG(info.st_mode)) return false;
    bytes = uint64_t(info.st_size);
    return true;
}

bool PlatformCreateFolders(const std::wstring& path) {
    if (path.empty()) return false;
    std::string narrow = NarrowFromWide(path);
    for (size_t slash = narrow.find('/', 1); slash != std::string::npos;
         slash = narrow.find('/', slash + 1)) {
        mkdir(narrow.substr(0, slash).c_str(), 0777);
    }
    mkdir(narrow.c_str(), 0777);
    struct stat info;
    return stat(narrow.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool PlatformReadTextFile(const std::wstring& path, std::string& contents, size_t maxBytes) {
    contents.clear();
    std::FILE* file = std::fopen(NarrowFromWide(path).c_str(), "rb");
    if (file == nullptr) return false;
    char buffer[4096];
    bool ok = true;
    while (contents.size() < maxBytes) {
        size_t wanted =
            maxBytes - contents.size() < sizeof buffer ? maxBytes - contents.size() : sizeof buffer;
        size_t got = std::fread(buffer, 1, wanted, file);
        contents.append(buffer, got);
        if (got < wanted) {
            ok = std::ferror(file) == 0;
            break;
        }
    }
    std::fclose(file);
    return ok;
}
