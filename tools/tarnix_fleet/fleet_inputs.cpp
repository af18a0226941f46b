// The exports named on the command line, and reading one whole.
#include "tools/tarnix_fleet/fleet_inputs.h"

#include <algorithm>
#include <fstream>

namespace fs = std::filesystem;

namespace {

std::vector<fs::path> JsonFilesUnder(const fs::path& folder) {
    std::vector<fs::path> files;
    std::error_code ec;
    for (fs::recursive_directory_iterator
             it(folder, fs::directory_options::skip_permission_denied, ec),
         end;
         !ec && it != end; it.increment(ec)) {
        if (it->path().extension() == ".json" && it->is_regular_file(ec)) files.push_back(*it);
    }
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

std::vector<fs::path> ExportFiles(const std::vector<fs::path>& paths,
                                  std::vector<std::string>& missing) {
    std::vector<fs::path> files;
    for (const fs::path& path : paths) {
        std::error_code ec;
        if (fs::is_directory(path, ec)) {
            const std::vector<fs::path> found = JsonFilesUnder(path);
            files.insert(files.end(), found.begin(), found.end());
        } else if (fs::is_regular_file(path, ec)) {
            files.push_back(path);
        } else {
            missing.push_back(path.string());
        }
    }
    return files;
}

bool ReadWholeFile(const fs::path& file, std::string& bytes) {
    std::ifstream in(file, std::ios::binary);
    if (!in) return false;
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0) return false;
    bytes.resize(size_t(size));
    in.seekg(0);
    return static_cast<bool>(in.read(bytes.data(), size));
}
