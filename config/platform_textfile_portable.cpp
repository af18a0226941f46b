// Whole small text files on the portable build (the tiling list), read as bytes.
#include <cstdio>

#include "config/platform.h"
#include "config/portable_text.h"

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
