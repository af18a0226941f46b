// tarnix-history's commands: list, show, drift and restore, and the one place that catches.
#include "tools/tarnix_history/history_tool.h"

#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>
#include <optional>

#include "display/tile_layout.h"
#include "history/history_folder.h"
#include "history/history_keeping.h"
#include "history/history_live.h"
#include "platform/platform.h"
#include "tools/tarnix_fit/record_file.h"
#include "tools/tarnix_fit/tool_text.h"
#include "tools/tarnix_history/drift_svg.h"
#include "tools/tarnix_history/entry_text.h"
#include "tools/tarnix_history/history_export.h"
#include "tools/tarnix_history/machine_name.h"
#include "tools/tarnix_history/restore_check.h"
#include "tools/tarnix_history/restore_port.h"

namespace {

struct HistoryOptions {
    std::string Command;
    std::vector<std::string> Entries;
    bool Json = false;
    std::wstring Svg;
    std::wstring Folder;
    std::wstring Out;
    std::optional<std::wstring> Machine;
};

const char* const kUsage =
    "usage: tarnix-history list [--json]\n"
    "       tarnix-history show ENTRY\n"
    "       tarnix-history drift ENTRY [EARLIER] [--svg FILE]\n"
    "       tarnix-history restore [ENTRY]\n"
    "       tarnix-history export [--machine NAME] [--out FILE]\n"
    "       (each also takes --folder DIR: a history folder other than the installation's)\n"
    "\n"
    "Every calibration Tarnix wrote to the driver, in the report folder's History, marked\n"
    "\"not accepted\" where nobody accepted it and \"live\" where the driver holds it.\n"
    "ENTRY is an entry's name, such as 20261209-134510-s0. restore writes an entry's record to\n"
    "the touch driver (default: the newest accepted entry before the live one of the last\n"
    "entry's screen, of the same area). export writes the whole history as one JSON document\n"
    "(the computer's name, its screens and monitors, every entry) for collecting from a fleet.\n"
    "\n"
    "Exit status: 0 done, 1 drift above MaxDrift, 2 usage error, 3 no such entry or nothing to\n"
    "compare or restore, 4 restore refused (the area's rectangle changed), 5 no touch driver or\n"
    "screen, 6 out of memory or an unexpected failure, 7 the folder given by --folder is missing,\n"
    "or the history folder is not a folder or cannot be read, 8 restore refused while Tarnix runs\n"
    "(one line on the error stream names each error).\n";

int Complain(int status, const std::string& message) {
    std::fprintf(stderr, "tarnix-history: %s\n", message.c_str());
    return status;
}

// An entry named on the command line: its name, without a folder or the files' suffixes.
std::string EntryName(const std::wstring& argument) {
    std::string name = PrintableText(ToolPath(argument).filename().wstring());
    if (name.ends_with(".cfg") || name.ends_with(".bin")) name.resize(name.size() - 4);
    return name;
}

bool Parse(const std::vector<std::wstring>& args, HistoryOptions& o, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        const std::wstring& a = args[i];
        if (a == L"--json") {
            o.Json = true;
        } else if (a == L"--svg" || a == L"--folder" || a == L"--out" || a == L"--machine") {
            if (i + 1 >= args.size() || args[i + 1].empty()) {
                error = PrintableText(a) + " needs a value";
                return false;
            }
            const std::wstring& value = args[++i];
            if (a == L"--machine")
                o.Machine = value;
            else
                (a == L"--svg" ? o.Svg : a == L"--folder" ? o.Folder : o.Out) = value;
        } else if (a == L"--help" || a == L"-h") {
            o.Command = "help";
            return true;
        } else if (a.starts_with(L"--")) {
            error = "unknown option " + PrintableText(a);
            return false;
        } else if (o.Command.empty()) {
            o.Command = PrintableText(a);
        } else {
            o.Entries.push_back(EntryName(a));
        }
    }
    const size_t most = o.Command == "drift"                           ? 2
                        : o.Command == "list" || o.Command == "export" ? 0
                                                                       : 1;
    const size_t least = o.Command == "show" || o.Command == "drift" ? 1 : 0;
    if (o.Command != "list" && o.Command != "show" && o.Command != "drift" &&
        o.Command != "restore" && o.Command != "export") {
        error = o.Command.empty() ? "nothing to do: give a command (see --help)"
                                  : "unknown command " + o.Command;
        return false;
    }
    if (o.Entries.size() < least || o.Entries.size() > most) {
        error = o.Command + " takes " +
                (least == most ? std::to_string(least)
                               : std::to_string(least) + " to " + std::to_string(most)) +
                " entries";
        return false;
    }
    if ((o.Json && o.Command != "list") || (!o.Svg.empty() && o.Command != "drift") ||
        ((!o.Out.empty() || o.Machine) && o.Command != "export")) {
        error = "--json belongs to list, --svg to drift, --out and --machine to export";
        return false;
    }
    return true;
}

// Why the history cannot be read from folder; empty when it can. The installation's own folder
// is missing until a calibration is kept: its history is empty.
std::string FolderProblem(const std::wstring& folder, bool named) {
    const std::string shown = PrintableText(folder);
    switch (CheckHistoryFolder(folder)) {
        case HistoryFolderState::Readable:
            return std::string();
        case HistoryFolderState::Missing:
            return named ? "no such folder: " + shown : std::string();
        case HistoryFolderState::NotAFolder:
            return "not a folder: " + shown;
        case HistoryFolderState::Unreadable:
            break;
    }
    return "cannot read the folder " + shown;
}

std::optional<size_t> FindEntry(const std::vector<HistoryEntry>& entries, const std::string& name) {
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i].Name == name) return i;
    return std::nullopt;
}

bool IsLive(const std::wstring& folder, const std::vector<HistoryEntry>& entries, size_t i) {
    return LiveEntryInFolder(folder, entries, entries[i].Record.ScreenIndex) == i;
}

int List(const HistoryOptions& o, const std::wstring& folder,
         const std::vector<HistoryEntry>& entries) {
    for (size_t i = 0; i < entries.size(); ++i) {
        const bool live = IsLive(folder, entries, i);
        const std::string line = o.Json ? JsonLine(entries, i, live) : ListLine(entries, i, live);
        std::printf("%s\n", line.c_str());
    }
    return kHistoryDone;
}

int Show(const std::wstring& folder, const std::vector<HistoryEntry>& entries, size_t i) {
    const HistoryEntry& e = entries[i];
    std::printf("Entry: %s\n", e.Name.c_str());
    for (const auto& [name, value] : e.Header.Lines)
        std::printf("%s: %s\n", name.c_str(), value.c_str());
    std::printf("Live: %s\n", IsLive(folder, entries, i) ? "yes" : "no");
    const std::optional<Drift> drift = DriftOf(entries, i);
    if (drift)
        std::printf("Moved at most %.2f mm since %s (%s)\n", drift->Result.MaxMm,
                    DateOf(entries[drift->Earlier]).c_str(), entries[drift->Earlier].Name.c_str());
    std::printf("\n");
    PrintRecordFields(stdout, e.Record);
    return kHistoryDone;
}

int CompareEntries(const HistoryOptions& o, const std::vector<HistoryEntry>& entries, size_t i,
                   std::optional<size_t> earlier) {
    const HistoryEntry& newer = entries[i];
    if (newer.Header.Verification() || (earlier && entries[*earlier].Header.Verification()))
        return Complain(kHistoryBadEntry, "a verification has no drift: name calibrations");
    if (earlier && !SameScreenAndArea(newer.Record, entries[*earlier].Record))
        return Complain(kHistoryBadEntry, newer.Name + " and " + entries[*earlier].Name +
                                              " are of different screens or areas");
    const std::optional<Drift> drift = DriftOf(entries, i, earlier);
    if (!drift)
        return Complain(kHistoryBadEntry, earlier
                                              ? "the two records cannot be compared"
                                              : "no earlier entry of the area of " + newer.Name);
    const HistoryEntry& old = entries[drift->Earlier];
    const std::string sentence = "Moved at most " + Fixed(drift->Result.MaxMm, 2) + " mm between " +
                                 DateOf(old) + " (" + old.Name + ") and " + DateOf(newer) + " (" +
                                 newer.Name + ")";
    std::printf("%s\n", sentence.c_str());
    const double bound = ReadDriftBound(newer.ConfigPath.c_str());
    if (!o.Svg.empty()) {
        std::error_code ignored;
        std::filesystem::remove(ToolPath(o.Svg), ignored);  // an existing picture is replaced
        if (!PlatformWriteSharedFile(o.Svg, DriftSvg(drift->Result, sentence)))
            return Complain(kHistoryBadEntry, "cannot write " + PrintableText(o.Svg));
    }
    if (drift->Result.MaxMm <= bound) return kHistoryDone;
    std::printf("Warning: more than %.1f mm: the touch sensor or its mounting may have changed\n",
                bound);
    return kHistoryAboveBound;
}

int Export(const HistoryOptions& o, const std::wstring& folder,
           const std::vector<HistoryEntry>& entries) {
    const std::string machine = o.Machine ? MachineNameText(*o.Machine) : MachineName();
    const std::string document = HistoryExportJson(folder, entries, machine);
    if (o.Out.empty()) {
        std::fputs(document.c_str(), stdout);
        return kHistoryDone;
    }
    std::error_code ignored;
    std::filesystem::remove(ToolPath(o.Out), ignored);  // an earlier export is replaced
    if (!PlatformWriteSharedFile(o.Out, document))
        return Complain(kHistoryBadEntry, "cannot write " + PrintableText(o.Out));
    return kHistoryDone;
}

// The default of restore: the newest accepted entry before the one the driver holds for the last
// entry's screen, of the same area.
std::optional<size_t> RestoreDefault(const std::wstring& folder,
                                     const std::vector<HistoryEntry>& entries, std::string& error) {
    if (entries.empty()) {
        error = "the history is empty";
        return std::nullopt;
    }
    const std::optional<size_t> live =
        LiveEntryInFolder(folder, entries, entries.back().Record.ScreenIndex);
    if (!live) {
        error = "no calibration of screen " + std::to_string(entries.back().Record.ScreenIndex);
        return std::nullopt;
    }
    const std::optional<size_t> chosen = AcceptedEntryOfArea(entries, entries[*live].Record, *live);
    if (!chosen)
        error = "no accepted entry before the live one (" + entries[*live].Name + ") of its area";
    return chosen;
}

int Restore(const std::wstring& folder, const std::vector<HistoryEntry>& entries,
            std::optional<size_t> chosen) {
    if (TarnixIsRunning())
        return Complain(kHistoryCalibrating, "not restored: Tarnix is running; close it first");
    std::string error;
    if (!chosen) chosen = RestoreDefault(folder, entries, error);
    if (!chosen) return Complain(kHistoryBadEntry, error);
    const HistoryEntry& e = entries[*chosen];
    if (e.Header.Verification())
        return Complain(kHistoryBadEntry, e.Name + " is a verification, not a calibration");
    if (!DriverHasScreen(e.Record.ScreenIndex, error)) return Complain(kHistoryNoDriver, error);
    const std::string mismatch = AreaMismatch(e.Record, CurrentMonitors(), ReadVideoModes());
    if (!mismatch.empty()) return Complain(kHistoryRefused, "not restored: " + mismatch);
    SendRecordToDriver(e.Record);
    if (!NotePutBack(folder, entries, *chosen))
        std::fprintf(stderr, "tarnix-history: the history could not note %s as live\n",
                     e.Name.c_str());
    std::printf("Restored %s (%s) to screen %d: %s on monitor %d\n", e.Name.c_str(),
                DateOf(e).c_str(), e.Record.ScreenIndex, AreaOf(e.Record).c_str(),
                e.Record.MonitorNumber);
    return kHistoryDone;
}

int Run(const std::vector<std::wstring>& args) {
    HistoryOptions o;
    std::string error;
    if (!Parse(args, o, error)) {
        std::fprintf(stderr, "tarnix-history: %s\n\n%s", error.c_str(), kUsage);
        return kHistoryUsage;
    }
    if (o.Command == "help") {
        std::fputs(kUsage, stdout);
        return kHistoryDone;
    }
    const std::wstring folder = o.Folder.empty() ? HistoryFolder() : o.Folder;
    const std::string problem = FolderProblem(folder, !o.Folder.empty());
    if (!problem.empty()) return Complain(kHistoryNoFolder, problem);
    const std::vector<HistoryEntry> entries = ReadHistory(folder);
    std::vector<size_t> named;
    for (const std::string& name : o.Entries) {
        const std::optional<size_t> found = FindEntry(entries, name);
        if (!found) return Complain(kHistoryBadEntry, "no such entry: " + name);
        named.push_back(*found);
    }
    if (o.Command == "list") return List(o, folder, entries);
    if (o.Command == "export") return Export(o, folder, entries);
    if (o.Command == "show") return Show(folder, entries, named[0]);
    if (o.Command == "drift")
        return CompareEntries(o, entries, named[0],
                              named.size() > 1 ? std::optional<size_t>(named[1]) : std::nullopt);
    return Restore(folder, entries, named.empty() ? std::nullopt : std::optional<size_t>(named[0]));
}

}  // namespace

int RunTarnixHistory(const std::vector<std::wstring>& args) {
    try {
        return Run(args);
    } catch (const std::bad_alloc&) {
        return Complain(kHistoryInternal, "out of memory");
    } catch (const std::exception& e) {
        return Complain(kHistoryInternal, std::string("unexpected failure: ") + e.what());
    } catch (...) {
        return Complain(kHistoryInternal, "unexpected failure");
    }
}
