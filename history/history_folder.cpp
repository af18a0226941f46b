// Listing, reading, writing and pruning the entries of the history folder.
#include "history/history_folder.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <set>

#include "history/record_drift.h"
#include "platform/platform.h"
#include "platform/portable_text.h"

namespace {

constexpr size_t kMaxConfigBytes = 4 * 1024 * 1024;

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

// A file name as ASCII text; empty for a name with any other character (never an entry's).
std::string AsciiName(const std::filesystem::path& path) {
    const std::filesystem::path file = path.filename();
    std::string name;
    for (auto c : file.native()) {
        if (c < 0x20 || c > 0x7e) return std::string();
        name += char(c);
    }
    return name;
}

std::wstring EntryFile(const std::wstring& folder, const std::string& name, const char* suffix) {
    return PlatformJoinPath(folder, Wide(name + suffix));
}

void RemoveEntry(const std::wstring& folder, const std::string& name) {
    std::error_code ignored;
    std::filesystem::remove(HistoryPath(EntryFile(folder, name, ".bin")), ignored);
    std::filesystem::remove(HistoryPath(EntryFile(folder, name, ".cfg")), ignored);
}

// The names of the entries in folder (those with both files), in the order of their names.
std::vector<std::string> EntryNames(const std::wstring& folder) {
    std::set<std::string> records, configs;
    std::error_code ec;
    for (const auto& item : std::filesystem::directory_iterator(HistoryPath(folder), ec)) {
        const std::string file = AsciiName(item.path());
        if (file.size() < 5) continue;
        const std::string stem = file.substr(0, file.size() - 4);
        if (!ScreenOfEntryName(stem)) continue;
        if (file.ends_with(".bin")) records.insert(stem);
        if (file.ends_with(".cfg")) configs.insert(stem);
    }
    std::vector<std::string> names;
    std::set_intersection(records.begin(), records.end(), configs.begin(), configs.end(),
                          std::back_inserter(names));
    return names;
}

std::vector<EntryPlace> EntryPlaces(const std::wstring& folder) {
    std::vector<EntryPlace> places;
    for (std::string& name : EntryNames(folder)) {
        std::string text;
        PlatformReadTextFile(EntryFile(folder, name, ".cfg"), text, kMaxConfigBytes);
        const HistoryHeader header = ParseHistoryHeader(text);
        places.push_back({std::move(name), header.Sequence(), header.Verification()});
    }
    return places;
}

}  // namespace

std::filesystem::path HistoryPath(const std::wstring& path) {
#ifdef _WIN32
    return std::filesystem::path(path);
#else
    return std::filesystem::path(NarrowFromWide(path));
#endif
}

std::wstring HistoryFolder() {
    const std::wstring reports = PlatformReportFolder();
    return reports.empty() ? std::wstring() : PlatformJoinPath(reports, L"History");
}

HistoryFolderState CheckHistoryFolder(const std::wstring& folder) {
    const std::filesystem::path path = HistoryPath(folder);
    std::error_code ec;
    const std::filesystem::file_status status = std::filesystem::status(path, ec);
    if (status.type() == std::filesystem::file_type::not_found) return HistoryFolderState::Missing;
    if (ec) return HistoryFolderState::Unreadable;
    if (!std::filesystem::is_directory(status)) return HistoryFolderState::NotAFolder;
    std::filesystem::directory_iterator listing(path, ec);
    return ec ? HistoryFolderState::Unreadable : HistoryFolderState::Readable;
}

std::vector<std::string> ListHistoryEntries(const std::wstring& folder) {
    std::vector<EntryPlace> places = EntryPlaces(folder);
    std::sort(places.begin(), places.end(), EntryWrittenBefore);
    std::vector<std::string> names;
    for (EntryPlace& place : places) names.push_back(std::move(place.Name));
    return names;
}

uint64_t NextHistorySequence(const std::wstring& folder) {
    uint64_t last = 0;
    for (const EntryPlace& place : EntryPlaces(folder))
        if (place.Sequence) last = std::max(last, *place.Sequence);
    return last + 1;
}

bool ReadHistoryEntry(const std::wstring& folder, const std::string& name, HistoryEntry& entry,
                      std::string& error) {
    if (!ScreenOfEntryName(name)) {
        error = "not an entry name: " + name;
        return false;
    }
    std::string bytes;
    const std::wstring recordPath = EntryFile(folder, name, ".bin");
    entry.ConfigPath = EntryFile(folder, name, ".cfg");
    if (!PlatformReadTextFile(recordPath, bytes, sizeof(CalibrationDataRecord) + 1) ||
        !PlatformReadTextFile(entry.ConfigPath, entry.ConfigText, kMaxConfigBytes)) {
        error = "no such entry: " + name;
        return false;
    }
    if (bytes.size() != sizeof(CalibrationDataRecord)) {
        error = "the record of " + name + " is not " +
                std::to_string(sizeof(CalibrationDataRecord)) + " bytes";
        return false;
    }
    entry.Name = name;
    std::memcpy(&entry.Record, bytes.data(), sizeof entry.Record);
    entry.Header = ParseHistoryHeader(entry.ConfigText);
    return true;
}

std::optional<std::string> WriteHistoryEntry(const std::wstring& folder, const HistoryTime& time,
                                             const CalibrationDataRecord& record,
                                             const std::string& configText) {
    if (!PlatformCreateSharedFolder(folder)) return std::nullopt;
    const std::string bytes(reinterpret_cast<const char*>(&record), sizeof record);
    for (int32_t repeat = 1; repeat <= 99; ++repeat) {
        const std::string name = HistoryEntryName(time, record.ScreenIndex, repeat);
        if (PlatformFileExists(EntryFile(folder, name, ".bin")) ||
            PlatformFileExists(EntryFile(folder, name, ".cfg")))
            continue;
        if (PlatformWriteSharedFile(EntryFile(folder, name, ".bin"), bytes) &&
            PlatformWriteSharedFile(EntryFile(folder, name, ".cfg"), configText))
            return name;
        RemoveEntry(folder, name);
        return std::nullopt;
    }
    return std::nullopt;
}

std::vector<std::string> PruneHistory(const std::wstring& folder, size_t perScreen) {
    const std::vector<std::string> beyond = EntriesBeyondBound(EntryPlaces(folder), perScreen);
    for (const std::string& name : beyond) RemoveEntry(folder, name);
    return beyond;
}

std::optional<size_t> EarlierEntryOfArea(const std::vector<HistoryEntry>& entries,
                                         const CalibrationDataRecord& record, size_t before) {
    for (size_t i = std::min(before, entries.size()); i-- > 0;)
        if (!entries[i].Header.Verification() && SameScreenAndArea(entries[i].Record, record))
            return i;
    return std::nullopt;
}

std::vector<HistoryEntry> ReadHistory(const std::wstring& folder) {
    std::vector<HistoryEntry> entries;
    for (const std::string& name : ListHistoryEntries(folder)) {
        HistoryEntry entry;
        std::string ignored;
        if (ReadHistoryEntry(folder, name, entry, ignored)) entries.push_back(std::move(entry));
    }
    return entries;
}
