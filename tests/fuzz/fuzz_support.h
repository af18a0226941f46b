// Shared pieces of the fuzz targets: a scratch folder of the process and files written into it.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

// A folder of its own for this fuzzing process, made on first use.
inline const std::filesystem::path& FuzzScratchFolder() {
    static const std::filesystem::path folder = [] {
        auto path =
            std::filesystem::temp_directory_path() / ("tarnix-fuzz-" + std::to_string(getpid()));
        std::filesystem::create_directories(path);
        return path;
    }();
    return folder;
}

// Writes bytes to name in the scratch folder and returns the file's path.
inline std::filesystem::path WriteScratchFile(const char* name, const uint8_t* data, size_t size) {
    std::filesystem::path path = FuzzScratchFolder() / name;
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) std::abort();
    if (size > 0 && std::fwrite(data, 1, size, file) != size) std::abort();
    std::fclose(file);
    return path;
}

// Stops the run with a message when a property every input must keep is broken.
#define FUZZ_CHECK(condition)                                                             \
    do {                                                                                  \
        if (!(condition)) {                                                               \
            std::fprintf(stderr, "fuzz check failed: %s (%s:%d)\n", #condition, __FILE__, \
                         __LINE__);                                                       \
            std::abort();                                                                 \
        }                                                                                 \
    } while (0)
