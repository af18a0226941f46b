// A temporary configuration file for tests, removed when the test ends.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>

#include "tests/foundation/scratch_path.h"

class TempCfgFile {
  public:
    explicit TempCfgFile(std::string_view bytes = {}) {
        path_ = UniqueScratchPath("tarnix-config-test", ".cfg");
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
