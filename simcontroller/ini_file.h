// A small reader of private-profile text (INI) files: sections, keys, case-insensitive names.
#pragma once

#include <filesystem>
#include <map>
#include <optional>
#include <string>

class IniFile {
  public:
    // Parses the text of a file; lines are "[Section]", "Key=Value", or comments (; or #).
    static IniFile FromText(const std::string& text);
    // Reads a file; an absent or unreadable file gives an empty one (Loaded() false).
    static IniFile FromFile(const std::filesystem::path& path);

    bool Loaded() const { return loaded_; }
    std::optional<std::string> Get(const std::string& section, const std::string& key) const;

  private:
    static std::string Fold(std::string name);
    std::map<std::string, std::string> values_;  // "section\nkey" folded to lower case
    bool loaded_ = false;
};
