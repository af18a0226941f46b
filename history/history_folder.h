// The history folder ("History" in the report folder): its entries listed, read, written with the
// report folder's rights and kept to the newest of each screen.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "driver/quva_records.h"
#include "history/history_entry.h"

// The report folder's "History" (no trailing separator).
std::wstring HistoryFolder();

// A path of the history's as the file system takes it (UTF-16 on Windows, the locale's narrow
// text elsewhere).
std::filesystem::path HistoryPath(const std::wstring& path);

// An entry as kept: the record as sent and the configuration text beside it.
struct HistoryEntry {
    std::string Name;
    CalibrationDataRecord Record{};
    std::string ConfigText;
    HistoryHeader Header;
    std::wstring ConfigPath;
};

// Whether the folder can be listed: Missing when nothing is at its path, NotAFolder when a file
// is, Unreadable when the system refuses to list it (or to look at its path).
enum class HistoryFolderState { Readable, Missing, NotAFolder, Unreadable };
HistoryFolderState CheckHistoryFolder(const std::wstring& folder);

// The names of the entries in folder (those with both files) in the order they were written,
// oldest first (see EntryPlace).
std::vector<std::string> ListHistoryEntries(const std::wstring& folder);

// The sequence number of the next entry written into folder: one above the highest there, 1 for
// a folder without numbered entries.
uint64_t NextHistorySequence(const std::wstring& folder);

// False with a one-line reason when the entry is missing or its record is not 1257 bytes.
bool ReadHistoryEntry(const std::wstring& folder, const std::string& name, HistoryEntry& entry,
                      std::string& error);

// Writes a new entry (creating the folder); its name, or nothing when it could not be written
// whole (then nothing of it is left behind).
std::optional<std::string> WriteHistoryEntry(const std::wstring& folder, const HistoryTime& time,
                                             const CalibrationDataRecord& record,
                                             const std::string& configText);

// Removes the entries beyond the bound of each screen, those written first; the names removed.
std::vector<std::string> PruneHistory(const std::wstring& folder,
                                      size_t perScreen = kHistoryEntriesPerScreen);

// Of the entries (oldest first), the newest calibration before position `before` (entries.size()
// for none) that covers the same screen and area as record; nothing when there is none.
std::optional<size_t> EarlierEntryOfArea(const std::vector<HistoryEntry>& entries,
                                         const CalibrationDataRecord& record, size_t before);

// Every entry of the folder that can be read, in the order they were written.
std::vector<HistoryEntry> ReadHistory(const std::wstring& folder);
