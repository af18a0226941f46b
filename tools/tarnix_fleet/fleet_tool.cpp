// tarnix-fleet's command line: the exports read, the report built and written, and the one place
// that catches.
#include "tools/tarnix_fleet/fleet_tool.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <new>

#include "config/support_folder.h"
#include "platform/platform.h"
#include "tools/tarnix_fit/tool_text.h"
#include "tools/tarnix_fleet/export_reader.h"
#include "tools/tarnix_fleet/fleet_html.h"
#include "tools/tarnix_fleet/fleet_inputs.h"
#include "tools/tarnix_fleet/fleet_json.h"
#include "tools/tarnix_fleet/seed_copy.h"
#include "tools/tarnix_fleet/sibling_compare.h"
#include "tools/tarnix_fleet/typical_entry.h"
#include "tools/tarnix_fleet/wide_text.h"

namespace {

struct FleetOptions {
    bool Help = false;
    bool Json = false;
    double BoundMm = kSiblingBoundMm;
    std::wstring Out;
    std::optional<std::string> TypicalModel;  // --typical-record MODEL FOLDER
    std::wstring TypicalFolder;
    std::wstring SeedFolder;  // --seed FOLDER
    std::vector<std::filesystem::path> Exports;
};

const char* const kUsage =
    "usage: tarnix-fleet [--json] [--out FILE] [--bound MM] EXPORT...\n"
    "       tarnix-fleet --typical-record MODEL FOLDER EXPORT...\n"
    "       tarnix-fleet --seed FOLDER\n"
    "\n"
    "Reads the history exports of many kiosks (tarnix-history export; files, or folders of\n"
    "\".json\" files) and writes one report: every kiosk with its last calibration, accuracy,\n"
    "drift and verifications, and the kiosks whose mapping differs from the typical mapping of\n"
    "their monitor model by more than MM millimetres on the glass (default 2) first.\n"
    "The report is an HTML page, or with --json a JSON document; on standard output or in FILE.\n"
    "--typical-record writes the typical record of the monitor model MODEL (\"Maker Model\" as\n"
    "the report names it) as an entry into the history folder FOLDER, for\n"
    "tarnix-history restore ENTRY --folder FOLDER to send to a new kiosk of the model.\n"
    "--seed puts FOLDER's Tarnix.cfg in place of the installation's and copies its entries into\n"
    "the installation's Seed folder (the installer does so with TARNIXSEED=FOLDER).\n"
    "\n"
    "Exit status: 0 done, 2 usage error, 3 no export could be read (or the model has fewer than\n"
    "3 kiosks to compare), 4 FILE or the entry cannot be written, 6 out of memory or an\n"
    "unexpected failure.\n";

int Complain(int status, const std::string& message) {
    std::fprintf(stderr, "tarnix-fleet: %s\n", message.c_str());
    return status;
}

bool ParseBound(const std::wstring& text, double& bound) {
    const std::string narrow = PrintableText(text);
    const auto result = std::from_chars(narrow.data(), narrow.data() + narrow.size(), bound);
    return result.ec == std::errc() && result.ptr == narrow.data() + narrow.size() &&
           std::isfinite(bound) && bound > 0.0;
}

// Whether option args[i] has `count` non-empty values after it.
bool HasValues(const std::vector<std::wstring>& args, size_t i, size_t count) {
    for (size_t k = 1; k <= count; ++k)
        if (i + k >= args.size() || args[i + k].empty()) return false;
    return true;
}

// One option at args[i] with its values (i moved past them); false with the error.
bool ParseOption(const std::vector<std::wstring>& args, size_t& i, FleetOptions& o,
                 std::string& error) {
    const std::wstring& a = args[i];
    const size_t values = a == L"--typical-record" ? 2 : a == L"--json" ? 0 : 1;
    if (a != L"--json" && a != L"--out" && a != L"--bound" && a != L"--seed" &&
        a != L"--typical-record") {
        error = "unknown option " + PrintableText(a);
        return false;
    }
    if (!HasValues(args, i, values)) {
        error = PrintableText(a) + (values == 2 ? " needs a model and a folder" : " needs a value");
        return false;
    }
    if (a == L"--json") o.Json = true;
    if (a == L"--out") o.Out = args[i + 1];
    if (a == L"--seed") o.SeedFolder = args[i + 1];
    if (a == L"--typical-record") {
        o.TypicalModel = Utf8FromWide(args[i + 1]);
        o.TypicalFolder = args[i + 2];
    }
    i += values;
    if (a == L"--bound" && !ParseBound(args[i], o.BoundMm)) {
        error = "--bound needs a positive number of millimetres";
        return false;
    }
    return true;
}

bool Parse(const std::vector<std::wstring>& args, FleetOptions& o, std::string& error) {
    for (size_t i = 0; i < args.size(); ++i) {
        if (args[i] == L"--help" || args[i] == L"-h") {
            o.Help = true;
            return true;
        }
        if (!args[i].starts_with(L"--"))
            o.Exports.push_back(ToolPath(args[i]));
        else if (!ParseOption(args, i, o, error))
            return false;
    }
    if (!o.SeedFolder.empty()) {
        if (o.Exports.empty() && !o.TypicalModel && !o.Json && o.Out.empty()) return true;
        error = "--seed takes nothing else";
        return false;
    }
    if (o.Exports.empty()) error = "nothing to read: name exports or folders of them";
    return !o.Exports.empty();
}

// Every kiosk of the exports; a line per export that could not be read.
std::vector<FleetKiosk> ReadFleet(const FleetOptions& o, std::vector<std::string>& problems) {
    std::vector<std::string> missing;
    const std::vector<std::filesystem::path> files = ExportFiles(o.Exports, missing);
    for (const std::string& path : missing) problems.push_back(path + ": no such file or folder");
    std::vector<FleetKiosk> kiosks;
    std::string bytes, error;
    for (const std::filesystem::path& file : files) {
        if (!ReadWholeFile(file, bytes))
            problems.push_back(file.string() + ": cannot read the file");
        else if (!ReadExportDocument(bytes, file.string(), kiosks, error))
            problems.push_back(file.string() + ": " + error);
    }
    return kiosks;
}

int WriteTypical(const FleetReport& report, const std::string& model, const std::wstring& folder) {
    const std::optional<TypicalRecord> typical = TypicalRecordOf(report.Kiosks, model);
    if (!typical)
        return Complain(kFleetNothingRead, "no typical record of " + model + ": fewer than " +
                                               std::to_string(kFewestSiblings) +
                                               " of its kiosks have a record to compare");
    std::string error;
    const std::optional<std::string> name = WriteTypicalEntry(folder, *typical, model, error);
    if (!name) return Complain(kFleetCannotWrite, error + ": " + PrintableText(folder));
    std::printf(
        "Wrote %s, the typical record of %s from %d kiosks; send it with\n"
        "tarnix-history restore %s --folder %s\n",
        name->c_str(), model.c_str(), typical->Kiosks, name->c_str(),
        PrintableText(folder).c_str());
    return kFleetDone;
}

int Seed(const std::wstring& from) {
    const std::wstring support = GetSupportFolder();
    const SeedResult seeded = SeedInstallation(from, support);
    if (!seeded.Problem.empty()) return Complain(kFleetCannotWrite, seeded.Problem);
    if (!seeded.Config && seeded.Entries.empty())
        return Complain(kFleetNothingRead, "nothing to seed in " + PrintableText(from) +
                                               ": no Tarnix.cfg and no entry");
    if (seeded.Config) std::printf("Seeded Tarnix.cfg\n");
    const std::string seedFolder = PrintableText(PlatformJoinPath(support, L"Seed"));
    for (const std::string& name : seeded.Entries)
        std::printf("Seeded %s; send it with tarnix-history restore %s --folder \"%s\"\n",
                    name.c_str(), name.c_str(), seedFolder.c_str());
    return kFleetDone;
}

int Run(const std::vector<std::wstring>& args) {
    FleetOptions o;
    std::string error;
    if (!Parse(args, o, error)) {
        std::fprintf(stderr, "tarnix-fleet: %s\n\n%s", error.c_str(), kUsage);
        return kFleetUsage;
    }
    if (o.Help) {
        std::fputs(kUsage, stdout);
        return kFleetDone;
    }
    if (!o.SeedFolder.empty()) return Seed(o.SeedFolder);
    std::vector<std::string> problems;
    std::vector<FleetKiosk> kiosks = ReadFleet(o, problems);
    for (const std::string& problem : problems)
        std::fprintf(stderr, "tarnix-fleet: %s\n", problem.c_str());
    if (kiosks.empty()) return Complain(kFleetNothingRead, "no kiosk read from the exports");
    const FleetReport report = BuildFleetReport(std::move(kiosks), problems, o.BoundMm);
    if (o.TypicalModel) return WriteTypical(report, *o.TypicalModel, o.TypicalFolder);
    const std::string text = o.Json ? FleetJson(report) : FleetHtml(report);
    if (o.Out.empty()) {
        std::fwrite(text.data(), 1, text.size(), stdout);
        return kFleetDone;
    }
    std::error_code ignored;
    std::filesystem::remove(ToolPath(o.Out), ignored);  // an earlier report is replaced
    if (!PlatformWriteSharedFile(o.Out, text))
        return Complain(kFleetCannotWrite, "cannot write " + PrintableText(o.Out));
    return kFleetDone;
}

}  // namespace

int RunTarnixFleet(const std::vector<std::wstring>& args) {
    try {
        return Run(args);
    } catch (const std::bad_alloc&) {
        return Complain(kFleetInternal, "out of memory");
    } catch (const std::exception& e) {
        return Complain(kFleetInternal, std::string("unexpected failure: ") + e.what());
    } catch (...) {
        return Complain(kFleetInternal, "unexpected failure");
    }
}
