// A temporary configuration file for tests, removed when the test ends.
#pragma once

#include <atomic>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

class TempCfgFile {
  public:
    explicit TempCfgFile(std::string_view bytes = {}) {
        static std::atomic<int> counter{0};
        path_ = std::filesystem::temp_directory_path() /
                ("tarnix-config-test-" + std::to_string(counter++) + ".cfg");
        Write(bytes);
    }
    ~TempCfgFile() {
        std::error_code ignored;
        std::filesystem::remove(path_, ignored);
    }
    TempCfgFile(const TempCfgFile&) = delete;
    TempCfgFile& operator=(const TempCfgFile&) = delete;

    void Write(std::string_view bytes) {
        std::ofstream file(path_, std::ios::binary | std::ios::trunc);
        file.write(bytes.data(), std::streamsize(bytes.size()));
    }
    // Writes "[TARNIX-APP]" followed by the given lines.
    void WriteKeys(const std::string& lines) { Write("[TARNIX-APP]\r\n" + lines); }
    const wchar_t* Path() {
        wide_ = path_.wstring();
        return wide_.c_str();
    }

  private:
    std::filesystem::path path_;
    std::wstring wide_;
};

// A path that names no file.
inline std::wstring MissingCfgPath() {
    return (std::filesystem::temp_directory_path() / "tarnix-no-such-dir" / "Tarnix.cfg").wstring();
}
