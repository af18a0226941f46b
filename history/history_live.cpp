// The entry the driver holds for each screen, the note of a calibration put back, and the mark of
// an accepted entry.
#include "history/history_live.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "history/history_folder.h"
#include "history/record_drift.h"
#include "platform/platform.h"
#include "platform/portable_text.h"

namespace {

constexpr size_t kMaxNoteBytes = 4096;
constexpr size_t kMaxConfigBytes = 4 * 1024 * 1024;
constexpr const char* kNotAccepted = "\r\n; Accepted: no\r\n";
constexpr const char* kAccepted = "\r\n; Accepted: yes\r\n";

std::wstring Wide(const std::string& ascii) { return std::wstring(ascii.begin(), ascii.end()); }

std::wstring NotePath(const std::wstring& folder, int32_t screen) {
    return PlatformJoinPath(folder, L"live-s" + std::to_wstring(screen) + L".txt");
}

std::optional<size_t> NewestOfScreen(const std::vector<HistoryEntry>& entries, int32_t screen) {
    for (size_t i = entries.size(); i-- > 0;)
        if (entries[i].Record.ScreenIndex == screen && !entries[i].Header.Verification()) return i;
    return std::nullopt;
}

// The line "Name: value" of a note's text.
std::string NoteValue(const std::string& text, const std::string& name) {
    const std::string lead = name + ": ";
    const size_t at = text.find(lead);
    if (at == std::string::npos) return std::string();
    const size_t start = at + lead.size();
    return text.substr(start, text.find_first_of("\r\n", start) - start);
}

// Writes bytes to path in place of what is there, through a file beside it: a failure leaves the
// old file as it was.
bool ReplaceSharedFile(const std::wstring& path, const std::string& bytes) {
    const std::wstring fresh = path + L".new";
    std::error_code ec;
    std::filesystem::remove(HistoryPath(fresh), ec);
    if (!PlatformWriteSharedFile(fresh, bytes)) return false;
    std::filesystem::remove(HistoryPath(path), ec);
    std::filesystem::rename(HistoryPath(fresh), HistoryPath(path), ec);
    return !ec;
}

}  // namespace

std::optional<size_t> LiveEntryOfScreen(const std::vector<HistoryEntry>& entries, int32_t screen,
                                        const std::optional<LiveNote>& note) {
    const std::optional<size_t> newest = NewestOfScreen(entries, screen);
    if (!newest || !note || entries[*newest].Name != note->NewestThen) return newest;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].Name == note->Entry && entries[i].Record.ScreenIndex == screen &&
            !entries[i].Header.Verification())
            return i;
    return newest;
}

std::optional<size_t> AcceptedEntryOfArea(const std::vector<HistoryEntry>& entries,
                                          const CalibrationDataRecord& record, size_t before) {
    for (size_t i = std::min(before, entries.size()); i-- > 0;)
        if (entries[i].Header.Accepted() && !entries[i].Header.Verification() &&
            SameScreenAndArea(entries[i].Record, record))
            return i;
    return std::nullopt;
}

std::optional<LiveNote> ReadLiveNote(const std::wstring& folder, int32_t screen) {
    std::string text;
    if (!PlatformReadTextFile(NotePath(folder, screen), text, kMaxNoteBytes)) return std::nullopt;
    LiveNote note{NoteValue(text, "Live"), NoteValue(text, "Newest")};
    if (note.Entry.empty() || note.NewestThen.empty()) return std::nullopt;
    return note;
}

std::optional<size_t> LiveEntryInFolder(const std::wstring& folder,
                                        const std::vector<HistoryEntry>& entries, int32_t screen) {
    return LiveEntryOfScreen(entries, screen, ReadLiveNote(folder, screen));
}

std::optional<size_t> LiveEntryOfAnotherArea(const std::wstring& folder,
                                             const std::vector<HistoryEntry>& entries,
                                             const CalibrationDataRecord& record) {
    const std::optional<size_t> live = LiveEntryInFolder(folder, entries, record.ScreenIndex);
    if (!live) return std::nullopt;
    const CalibrationDataRecord& held = entries[*live].Record;
    const bool sameSize =
        held.AreaWidth == record.AreaWidth && held.AreaHeight == record.AreaHeight;
    const bool moved = held.MonitorNumber != record.MonitorNumber ||
                       (sameSize && !SameScreenAndArea(held, record));
    return moved ? live : std::nullopt;
}

bool FirstCalibrationAmongAreas(const std::vector<HistoryEntry>& entries,
                                const CalibrationDataRecord& record) {
    const bool oneOfSeveral = record.AreaWidth < record.VirtualScreenWidth ||
                              record.AreaHeight < record.VirtualScreenHeight;
    return oneOfSeveral && !LiveEntryOfScreen(entries, record.ScreenIndex, std::nullopt);
}

bool NotePutBack(const std::wstring& folder, const std::vector<HistoryEntry>& entries, size_t i) {
    const int32_t screen = entries[i].Record.ScreenIndex;
    const std::optional<size_t> newest = NewestOfScreen(entries, screen);
    const std::string text =
        "Live: " + entries[i].Name + "\r\nNewest: " + entries[*newest].Name + "\r\n";
    return ReplaceSharedFile(NotePath(folder, screen), text);
}

bool MarkEntryAccepted(const std::wstring& folder, const std::string& name) {
    const std::wstring path = PlatformJoinPath(folder, Wide(name + ".cfg"));
    std::string text;
    if (!PlatformReadTextFile(path, text, kMaxConfigBytes)) return false;
    const size_t at = text.find(kNotAccepted);
    if (at == std::string::npos) return text.find(kAccepted) != std::string::npos;
    text.replace(at, std::string(kNotAccepted).size(), kAccepted);
    return ReplaceSharedFile(path, text);
}
