// The history of one machine as one JSON document, for a fleet's own tools to collect: the
// machine's name, each screen's monitor and every entry with its figures, marks, drift and record.
#pragma once

#include <string>
#include <vector>

#include "history/history_folder.h"

inline constexpr int kHistoryExportSchemaVersion = 1;

// The document (one line) of the entries (oldest first) read from folder.
std::string HistoryExportJson(const std::wstring& folder, const std::vector<HistoryEntry>& entries,
                              const std::string& machine);
