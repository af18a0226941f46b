// A scratch path of the temporary folder that no other test program running alongside uses.
#pragma once

#include <unistd.h>

#include <atomic>
#include <filesystem>
#include <string>

// ctest runs test programs side by side: a counter alone would give two of them the same folder.
inline std::filesystem::path UniqueScratchPath(const std::string& prefix,
                                               const std::string& suffix = {}) {
    static std::atomic<int> counter{0};
    return std::filesystem::temp_directory_path() /
           (prefix + "-" + std::to_string(getpid()) + "-" + std::to_string(counter++) + suffix);
}
