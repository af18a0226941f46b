// A configuration file with keys set over it, written where the program reads it from.
#include "bench/accuracy/settings_file.h"

#include <algorithm>
#include <cctype>
#include <fstream>
#include <optional>

namespace {

constexpr const char* kSectionLine = "[TARNIX-APP]";

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return "";
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

bool SameKey(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// The setting a line of the file sets, if one of ours.
std::optional<size_t> SettingOfLine(const std::string& line,
                                    const std::vector<KeySetting>& settings) {
    const auto equals = line.find('=');
    if (equals == std::string::npos || Trimmed(line).rfind(';', 0) == 0) return std::nullopt;
    const std::string key = Trimmed(line.substr(0, equals));
    for (size_t i = 0; i < settings.size(); ++i)
        if (SameKey(key, settings[i].Key)) return i;
    return std::nullopt;
}

std::string LineOf(const KeySetting& s) { return s.Key + "=" + s.Value; }

// One setting a key, the last given.
std::vector<KeySetting> LastOfEachKey(const std::vector<KeySetting>& settings) {
    std::vector<KeySetting> last;
    for (const KeySetting& s : settings) {
        auto same = std::find_if(last.begin(), last.end(),
                                 [&](const KeySetting& l) { return SameKey(l.Key, s.Key); });
        if (same == last.end())
            last.push_back(s);
        else
            *same = s;
    }
    return last;
}

}  // namespace

bool ParseKeySetting(const std::string& text, KeySetting* setting) {
    const auto equals = text.find('=');
    if (equals == std::string::npos || Trimmed(text.substr(0, equals)).empty()) return false;
    *setting = KeySetting{Trimmed(text.substr(0, equals)), Trimmed(text.substr(equals + 1))};
    return true;
}

bool WriteSettingsFile(const std::filesystem::path& base, const std::vector<KeySetting>& given,
                       const std::filesystem::path& out) {
    const std::vector<KeySetting> settings = LastOfEachKey(given);
    std::ifstream in(base, std::ios::binary);
    if (!in) return false;
    std::vector<std::string> lines;
    std::vector<bool> written(settings.size(), false);
    for (std::string line; std::getline(in, line);) {
        const auto setting = SettingOfLine(line, settings);
        if (!setting) {
            lines.push_back(line);
        } else if (!written[*setting]) {
            lines.push_back(LineOf(settings[*setting]));
            written[*setting] = true;
        }
    }
    auto section = std::find_if(lines.begin(), lines.end(), [](const std::string& line) {
        return SameKey(Trimmed(line), kSectionLine);
    });
    if (section == lines.end()) section = lines.insert(lines.begin(), kSectionLine);
    std::vector<std::string> added;
    for (size_t i = 0; i < settings.size(); ++i)
        if (!written[i]) added.push_back(LineOf(settings[i]));
    lines.insert(section + 1, added.begin(), added.end());
    std::ofstream file(out, std::ios::binary | std::ios::trunc);
    for (const std::string& line : lines) file << line << "\n";
    return bool(file);
}
