// Which entry of each touch screen the driver holds, and the marks that say so: an entry is
// marked accepted when the person accepts it, and a note per screen tells of a calibration put
// back (a restore, or an unaccepted one undone) until a newer entry of the screen is written.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "history/history_folder.h"

// A calibration put back on a screen: the entry sent again, and the screen's newest entry then.
struct LiveNote {
    std::string Entry;
    std::string NewestThen;
};

// Of the entries (oldest first), the one the driver holds for screen: the note's entry while the
// screen's newest calibration is still the one it names, else the newest calibration of the
// screen, whether accepted or not (verifications never count). Nothing when the history has no
// entry of the screen.
std::optional<size_t> LiveEntryOfScreen(const std::vector<HistoryEntry>& entries, int32_t screen,
                                        const std::optional<LiveNote>& note);

// Of the entries (oldest first), the newest accepted one before position `before` of record's
// screen and area; nothing when there is none.
std::optional<size_t> AcceptedEntryOfArea(const std::vector<HistoryEntry>& entries,
                                          const CalibrationDataRecord& record, size_t before);

// The note of screen in folder ("live-sN.txt"); nothing without one.
std::optional<LiveNote> ReadLiveNote(const std::wstring& folder, int32_t screen);

// The entry the driver holds for screen, the folder's note read.
std::optional<size_t> LiveEntryInFolder(const std::wstring& folder,
                                        const std::vector<HistoryEntry>& entries, int32_t screen);

// The entry the driver held for record's screen until now, where it was made for another monitor
// or another tile of the same size: a pass's touches may then have come from a sensor the person
// did not see the targets on. A monitor whose resolution changed is no such move. Nothing
// otherwise, or without an entry of the screen.
std::optional<size_t> LiveEntryOfAnotherArea(const std::wstring& folder,
                                             const std::vector<HistoryEntry>& entries,
                                             const CalibrationDataRecord& record);

// True when the history holds no calibration of record's screen and the record's area is one of
// several on the desktop (monitors or tiles): nothing earlier tells whether the sensor sits on the
// monitor that showed the targets.
bool FirstCalibrationAmongAreas(const std::vector<HistoryEntry>& entries,
                                const CalibrationDataRecord& record);

// Notes that entry i (of entries, oldest first) went to the driver again. False when the note
// could not be written.
bool NotePutBack(const std::wstring& folder, const std::vector<HistoryEntry>& entries, size_t i);

// Turns the entry's "; Accepted: no" into "yes". False when the entry is missing or its
// configuration could not be written again (then it stays as it was).
bool MarkEntryAccepted(const std::wstring& folder, const std::string& name);
