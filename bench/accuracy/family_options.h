// The family bench's command line.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/accuracy/bad_touches.h"
#include "bench/accuracy/settings_file.h"

struct FamilyBenchOptions {
    int Passes = 40;
    std::vector<std::string> Families;  // empty: every family
    std::vector<double> ScattersMm{0.5, 1.0, 1.5};
    BadTouches Bad = BadTouches::None;
    uint32_t Seed = 1000;
    std::vector<KeySetting> Settings;  // over the layout file, in order
    std::filesystem::path Layout;      // the configuration file
};

inline constexpr const char* kFamilyBenchUsage =
    "usage: tarnix_family_bench [--passes N] [--family NAME]... [--scatter MM]... "
    "[--bad none|one|two] [--seed N] [--set KEY=VALUE]... [--layout FILE]";

// Reads the arguments over the defaults (the layout: shippedLayout); false with the reason.
bool ParseFamilyBenchOptions(int argc, char** argv, const std::filesystem::path& shippedLayout,
                             FamilyBenchOptions* options, std::string* error);
