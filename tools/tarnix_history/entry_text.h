// How tarnix-history tells of its entries: their date, area and glass, the drift of one since
// the earlier entry of its area, the line of list and the JSON object of list --json.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "history/history_folder.h"
#include "history/record_drift.h"

// The millimetres a pixel of the entry's area covers: ScreenWidth and ScreenHeight of its
// configuration.
GlassScale GlassOf(const HistoryEntry& entry);
// The header's date, "(no date)" without one.
std::string DateOf(const HistoryEntry& entry);
// The entry's expected error: the judge's figure when the entry has one, else its RMS residual.
std::optional<double> ExpectedErrorOf(const HistoryEntry& entry);
// Whether the person accepted the entry, as JSON: null for a verification, which nobody accepts.
std::string AcceptedJson(const HistoryEntry& entry);
// A number with a fixed count of decimals.
std::string Fixed(double value, int decimals);

// The drift of entry i since `earlier` (default: the earlier entry of its area); nothing when
// there is none or the two cannot be compared.
struct Drift {
    size_t Earlier = 0;
    DriftResult Result;
};
std::optional<Drift> DriftOf(const std::vector<HistoryEntry>& entries, size_t i,
                             std::optional<size_t> earlier = std::nullopt);

// The line of list, and the JSON object (one line) of list --json, of entry i; live: the driver
// holds it.
std::string ListLine(const std::vector<HistoryEntry>& entries, size_t i, bool live);
std::string JsonLine(const std::vector<HistoryEntry>& entries, size_t i, bool live);
