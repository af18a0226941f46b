// One entry of the calibration history: its name, its header lines and the rule that keeps the
// newest entries of each screen.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

// Entries kept per touch screen; the oldest beyond this are removed.
inline constexpr size_t kHistoryEntriesPerScreen = 20;

// Local date and time of an accepted calibration, to the second.
struct HistoryTime {
    int32_t Year = 0, Month = 0, Day = 0, Hour = 0, Minute = 0, Second = 0;
};

// "2026-12-09 13:45:10".
std::string FormatHistoryTime(const HistoryTime& time);
std::optional<HistoryTime> ParseHistoryTime(const std::string& text);

// The name of an entry (without the ".bin" and ".cfg" of its two files): "20261209-134510-s0",
// with "-2", "-3", ... when an entry of that second and screen exists already.
std::string HistoryEntryName(const HistoryTime& time, int32_t screenIndex, int32_t repeat = 1);

// The screen index an entry's name carries; nothing for a name that is not an entry's.
std::optional<int32_t> ScreenOfEntryName(const std::string& name);

// Oldest first: by time stamp, then by the repeat of one second.
bool EntryNameOlder(const std::string& a, const std::string& b);

// Where an entry stands in the history. Each entry written carries the next number of the
// folder's sequence, so the history keeps the order the entries were written in whatever the
// clock said; entries of older versions carry none and stand before every numbered one, in the
// order of their names.
struct EntryPlace {
    std::string Name;
    std::optional<uint64_t> Sequence;
    bool Verification = false;
};
bool EntryWrittenBefore(const EntryPlace& a, const EntryPlace& b);

// The entries to remove so that every screen keeps the kHistoryEntriesPerScreen calibrations and
// the kHistoryEntriesPerScreen verifications written last (places in any order).
std::vector<std::string> EntriesBeyondBound(std::vector<EntryPlace> places,
                                            size_t perScreen = kHistoryEntriesPerScreen);

// What the header says of a figure that is not a finite number: never "nan" or "inf".
inline constexpr const char* kFigureNotKnown = "not known";

// The header of an entry's configuration: "; Name: value" comment lines before the first section.
// Figures are the lines whose name ends in a unit in brackets and whose value is a number, such
// as "; RMS residual (mm): 0.070", or "not known"; further figures are further such lines.
struct HistoryHeader {
    std::vector<std::pair<std::string, std::string>> Lines;

    std::optional<std::string> Value(const std::string& name) const;
    // The line "; Sequence: N" (N from 1); nothing in an entry of an older version.
    std::optional<uint64_t> Sequence() const;
    // The line "; Accepted: yes" or "no": whether the person accepted the calibration. Entries of
    // older versions have none: only accepted calibrations were kept then.
    bool Accepted() const;
    // The line "; Kind: verification": the entry records a verification of the calibration the
    // driver held, not a calibration; it is never the live entry, an earlier entry of a drift or
    // one to restore.
    bool Verification() const;
    // The figure's value; nothing when the header has none, or one that is not a finite number.
    std::optional<double> Figure(const std::string& name) const;
    // Every figure in header order, each with its value or nothing (not known, or not finite as
    // entries of older versions may say: "nan", "inf").
    std::vector<std::pair<std::string, std::optional<double>>> Figures() const;
};

HistoryHeader ParseHistoryHeader(const std::string& configText);
