// Names of history entries, the bound of entries per screen, and the header of an entry.
#include "history/history_entry.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>

namespace {

std::string Trimmed(const std::string& text) {
    const size_t first = text.find_first_not_of(" \t\r");
    if (first == std::string::npos) return std::string();
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

// The whole text as a number, finite or not; nothing for other text.
std::optional<double> Number(const std::string& text) {
    double value = 0.0;
    const char* end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, value);
    if (result.ec != std::errc() || result.ptr != end) return std::nullopt;
    return value;
}

std::optional<double> Finite(std::optional<double> number) {
    return number && std::isfinite(*number) ? number : std::nullopt;
}

bool IsFigureName(const std::string& name) {
    return name.size() > 2 && name.back() == ')' && name.find('(') != std::string::npos;
}

}  // namespace

std::string FormatHistoryTime(const HistoryTime& t) {
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", t.Year, t.Month, t.Day,
                  t.Hour, t.Minute, t.Second);
    return text;
}

std::optional<HistoryTime> ParseHistoryTime(const std::string& text) {
    HistoryTime t;
    char tail = 0;
    if (std::sscanf(text.c_str(), "%4d-%2d-%2d %2d:%2d:%2d%c", &t.Year, &t.Month, &t.Day, &t.Hour,
                    &t.Minute, &t.Second, &tail) != 6)
        return std::nullopt;
    return t;
}

std::string HistoryEntryName(const HistoryTime& t, int32_t screenIndex, int32_t repeat) {
    char text[80];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d-s%d", t.Year, t.Month, t.Day,
                  t.Hour, t.Minute, t.Second, screenIndex);
    std::string name = text;
    if (repeat > 1) name += "-" + std::to_string(repeat);
    return name;
}

std::optional<int32_t> ScreenOfEntryName(const std::string& name) {
    // yyyymmdd-hhmmss-sN[-r]
    if (name.size() < 18 || name[8] != '-' || name[15] != '-' || name[16] != 's')
        return std::nullopt;
    for (size_t i : {0, 1, 2, 3, 4, 5, 6, 7, 9, 10, 11, 12, 13, 14})
        if (name[i] < '0' || name[i] > '9') return std::nullopt;
    int32_t screen = -1;
    const char* end = name.data() + name.size();
    const auto result = std::from_chars(name.data() + 17, end, screen);
    if (result.ec != std::errc() || screen < 0) return std::nullopt;
    if (result.ptr != end) {
        int32_t repeat = 0;
        const auto more = std::from_chars(result.ptr + 1, end, repeat);
        if (*result.ptr != '-' || more.ec != std::errc() || more.ptr != end || repeat < 2)
            return std::nullopt;
    }
    return screen;
}

bool EntryNameOlder(const std::string& a, const std::string& b) {
    // The time stamp first; of one second, "-s1" before "-s10", "-s0" before "-s0-2" before
    // "-s0-10".
    const std::string stampA = a.substr(0, 15), stampB = b.substr(0, 15);
    if (stampA != stampB) return stampA < stampB;
    if (a.size() != b.size()) return a.size() < b.size();
    return a < b;
}

bool EntryWrittenBefore(const EntryPlace& a, const EntryPlace& b) {
    if (a.Sequence.has_value() != b.Sequence.has_value()) return !a.Sequence.has_value();
    if (a.Sequence && *a.Sequence != *b.Sequence) return *a.Sequence < *b.Sequence;
    return EntryNameOlder(a.Name, b.Name);
}

std::vector<std::string> EntriesBeyondBound(std::vector<EntryPlace> places, size_t perScreen) {
    std::sort(places.begin(), places.end(), EntryWrittenBefore);
    std::map<std::pair<int32_t, bool>, std::vector<std::string>> byScreen;
    for (EntryPlace& place : places) {
        const std::optional<int32_t> screen = ScreenOfEntryName(place.Name);
        if (screen) byScreen[{*screen, place.Verification}].push_back(std::move(place.Name));
    }
    std::vector<std::string> beyond;
    for (auto& [kind, names] : byScreen) {
        if (names.size() <= perScreen) continue;
        beyond.insert(beyond.end(), names.begin(), names.end() - std::ptrdiff_t(perScreen));
    }
    return beyond;
}

std::optional<std::string> HistoryHeader::Value(const std::string& name) const {
    for (const auto& [key, value] : Lines)
        if (key == name) return value;
    return std::nullopt;
}

std::optional<uint64_t> HistoryHeader::Sequence() const {
    const std::optional<std::string> text = Value("Sequence");
    uint64_t sequence = 0;
    if (!text) return std::nullopt;
    const char* end = text->data() + text->size();
    const auto result = std::from_chars(text->data(), end, sequence);
    if (result.ec != std::errc() || result.ptr != end || sequence == 0) return std::nullopt;
    return sequence;
}

bool HistoryHeader::Accepted() const { return Value("Accepted") != "no"; }

bool HistoryHeader::Verification() const { return Value("Kind") == "verification"; }

std::optional<double> HistoryHeader::Figure(const std::string& name) const {
    const std::optional<std::string> text = Value(name);
    return text ? Finite(Number(*text)) : std::nullopt;
}

std::vector<std::pair<std::string, std::optional<double>>> HistoryHeader::Figures() const {
    std::vector<std::pair<std::string, std::optional<double>>> figures;
    for (const auto& [key, value] : Lines) {
        const std::optional<double> number = Number(value);
        if (IsFigureName(key) && (number || value == kFigureNotKnown))
            figures.emplace_back(key, Finite(number));
    }
    return figures;
}

HistoryHeader ParseHistoryHeader(const std::string& text) {
    HistoryHeader header;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string line = Trimmed(text.substr(start, end - start));
        start = end + 1;
        if (!line.empty() && line[0] == '[') break;
        if (line.empty() || line[0] != ';') continue;
        const size_t colon = line.find(": ");
        if (colon == std::string::npos) continue;
        header.Lines.emplace_back(Trimmed(line.substr(1, colon - 1)),
                                  Trimmed(line.substr(colon + 2)));
    }
    return header;
}
