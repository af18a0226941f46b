// Test helpers of the portable build: a scratch folder that the seam's environment points at.
#pragma once

#include <stdlib.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/debug_trace.h"

// A fresh folder used as support folder and report root for one test; removed afterwards. The
// support folder's name is given as the bytes the file system stores.
class ScratchFolders {
  public:
    explicit ScratchFolders(const std::string& supportName = "support") {
        char pattern[] = "/tmp/tarnix-foundation-XXXXXX";
        root_ = mkdtemp(pattern);
        support_ = root_ / supportName;
        reports_ = root_ / "reports" / "nested" / "Zeph";
        std::filesystem::create_directories(support_);
        setenv("TARNIX_SUPPORT_DIR", support_.c_str(), 1);
        setenv("TARNIX_REPORT_DIR", reports_.c_str(), 1);
        DebugState = -1;
    }
    ~ScratchFolders() {
        std::error_code ignored;
        std::filesystem::remove_all(root_, ignored);
        unsetenv("TARNIX_SUPPORT_DIR");
        unsetenv("TARNIX_REPORT_DIR");
        DebugState = -1;
    }

    void WriteSupportFile(const std::string& name, const std::string& text) const {
        std::ofstream(support_ / name, std::ios::binary) << text;
    }
    void EnableTracing(const std::string& value) const {
        WriteSupportFile("machine-settings.ini",
                         "[Software\\Quvatec]\r\nEnableDebug=" + value + "\r\n");
    }
    std::filesystem::path root_, support_, reports_;
};

inline std::string ReadAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
