// Seeding a new installation from its siblings' Tarnix.cfg and typical record.
#include "tools/tarnix_fleet/seed_copy.h"

#include <filesystem>
#include <fstream>
#include <string>

#include "history/history_folder.h"
#include "tools/tarnix_fleet/fleet_inputs.h"

namespace fs = std::filesystem;

namespace {

// The file's bytes written over `to` (copy_file of the Windows runtime refuses an existing file
// even when told to overwrite it).
bool CopyOver(const fs::path& from, const fs::path& to) {
    std::string bytes;
    if (!ReadWholeFile(from, bytes)) return false;
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    return out.write(bytes.data(), std::streamsize(bytes.size())) && out.flush();
}

}  // namespace

SeedResult SeedInstallation(const std::wstring& from, const std::wstring& supportFolder) {
    SeedResult result;
    const fs::path source = HistoryPath(from);
    const fs::path support = HistoryPath(supportFolder);
    std::error_code ec;
    if (fs::is_regular_file(source / "Tarnix.cfg", ec)) {
        result.Config = CopyOver(source / "Tarnix.cfg", support / "Tarnix.cfg");
        if (!result.Config) result.Problem = "cannot copy Tarnix.cfg";
    }
    const fs::path seed = support / "Seed";
    for (const std::string& name : ListHistoryEntries(from)) {
        fs::create_directories(seed, ec);
        const bool copied = CopyOver(source / (name + ".bin"), seed / (name + ".bin")) &&
                            CopyOver(source / (name + ".cfg"), seed / (name + ".cfg"));
        if (copied)
            result.Entries.push_back(name);
        else
            result.Problem = "cannot copy the entry " + name;
    }
    return result;
}
