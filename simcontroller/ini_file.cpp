// A small reader of private-profile text (INI) files: sections, keys, case-insensitive names.
#include "simcontroller/ini_file.h"

#include <cctype>
#include <fstream>
#include <sstream>

namespace {

std::string Trim(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return {};
    const size_t last = text.find_last_not_of(" \t\r\n");
    return text.substr(first, last - first + 1);
}

}  // namespace

std::string IniFile::Fold(std::string name) {
    for (char& c : name) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return name;
}

IniFile IniFile::FromText(const std::string& text) {
    IniFile file;
    file.loaded_ = true;
    std::istringstream lines(text);
    std::string line;
    std::string section;
    while (std::getline(lines, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line.front() == '[' && line.back() == ']') {
            section = Fold(Trim(line.substr(1, line.size() - 2)));
            continue;
        }
        const size_t equals = line.find('=');
        if (equals == std::string::npos) continue;
        const std::string key = Fold(Trim(line.substr(0, equals)));
        file.values_[section + "\n" + key] = Trim(line.substr(equals + 1));
    }
    return file;
}

IniFile IniFile::FromFile(const std::filesystem::path& path) {
    std::ifstream stream(path, std::ios::binary);
    if (!stream) return IniFile();
    std::ostringstream text;
    text << stream.rdbuf();
    return FromText(text.str());
}

std::optional<std::string> IniFile::Get(const std::string& section, const std::string& key) const {
    const auto found = values_.find(Fold(section) + "\n" + Fold(key));
    if (found == values_.end() || found->second.empty()) return std::nullopt;
    return found->second;
}
