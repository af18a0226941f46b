// Test helper: a fresh folder under the temporary folder, removed at the end, with file helpers.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

class SimTestFolder {
  public:
    explicit SimTestFolder(const std::string& name);
    ~SimTestFolder();
    const std::filesystem::path& Path() const { return path_; }
    void Write(const std::string& name, const std::string& text) const;
    std::string Read(const std::string& name) const;
    // The lines of a log file that contain every one of the given words.
    std::vector<std::string> LinesWith(const std::string& name,
                                       std::vector<std::string> words) const;

  private:
    std::filesystem::path path_;
};
