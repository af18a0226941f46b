// A configuration file with keys set over it, written where the program reads it from.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

struct KeySetting {
    std::string Key;
    std::string Value;
};

// "Key=Value" (the key not empty); false for anything else.
bool ParseKeySetting(const std::string& text, KeySetting* setting);

// Writes the base file to out with each setting (the last given for a key) replacing the key's
// line, or added at the top of the section when the base has no such key. False when the base
// cannot be read or out written.
bool WriteSettingsFile(const std::filesystem::path& base, const std::vector<KeySetting>& settings,
                       const std::filesystem::path& out);
