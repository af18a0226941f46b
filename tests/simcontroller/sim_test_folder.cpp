// Test helper: a fresh folder under the temporary folder, removed at the end, with file helpers.
#include "tests/simcontroller/sim_test_folder.h"

#include <chrono>
#include <fstream>
#include <sstream>

SimTestFolder::SimTestFolder(const std::string& name) {
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    path_ = std::filesystem::temp_directory_path() /
            ("simcontroller-" + name + "-" + std::to_string(stamp));
    std::filesystem::create_directories(path_);
}

SimTestFolder::~SimTestFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void SimTestFolder::Write(const std::string& name, const std::string& text) const {
    std::ofstream(path_ / name, std::ios::binary) << text;
}

std::string SimTestFolder::Read(const std::string& name) const {
    std::ifstream stream(path_ / name, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    return text.str();
}

std::vector<std::string> SimTestFolder::LinesWith(const std::string& name,
                                                  std::vector<std::string> words) const {
    std::istringstream lines(Read(name));
    std::vector<std::string> found;
    for (std::string line; std::getline(lines, line);) {
        bool all = true;
        for (const std::string& word : words) all = all && line.find(word) != std::string::npos;
        if (all) found.push_back(line);
    }
    return found;
}
