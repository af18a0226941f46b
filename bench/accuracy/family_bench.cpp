// Touch-sensor families against the program's fit: simulated passes by a person on sensors drawn
// at random within the ranges published for real panels, fitted and judged as the program does,
// measured in millimetres against each sensor's truth. Prints Markdown tables.
//   tarnix_family_bench [--passes N] [--family NAME]... [--scatter MM]... [--bad none|one|two]
//                       [--seed N] [--set KEY=VALUE]... [--layout FILE]
#include <cstdio>
#include <string>
#include <vector>

#include "bench/accuracy/bench_scratch.h"
#include "bench/accuracy/family_options.h"
#include "bench/accuracy/family_table.h"
#include "platform/report_file.h"

namespace {

const ScreenRect kScreen{0, 0, 1920, 1080};  // a 15.6-inch panel
const PanelSize kPanel{344.2, 193.6};

// Seeds of a pass's draws: the same sensor for every scatter, the same person for every family.
uint32_t SensorSeed(uint32_t seed, int pass, size_t family) {
    return seed * 7919u + uint32_t(pass) * 104729u + uint32_t(family + 1) * 1299709u;
}
uint32_t PersonSeed(uint32_t seed, int pass) { return seed + uint32_t(pass); }
uint32_t BadSeed(uint32_t seed, int pass) { return seed * 7919u + uint32_t(pass) * 15485863u; }

// The layout file with the panel's size and the given keys set over it.
std::filesystem::path EffectiveLayout(const FamilyBenchOptions& o,
                                      const std::filesystem::path& scratch) {
    std::vector<KeySetting> settings = {{"ScreenWidth", "344.2"}, {"ScreenHeight", "193.6"}};
    settings.insert(settings.end(), o.Settings.begin(), o.Settings.end());
    const std::filesystem::path file = scratch / "layout.cfg";
    return WriteSettingsFile(o.Layout, settings, file) ? file : std::filesystem::path();
}

void PrintSettings(const FamilyBenchOptions& o) {
    std::printf("Layout %s with ScreenWidth=344.2, ScreenHeight=193.6", o.Layout.c_str());
    for (const KeySetting& s : o.Settings) std::printf(", %s=%s", s.Key.c_str(), s.Value.c_str());
    std::printf(
        ".\n%d passes a row on %d x %d px, %.1f x %.1f mm; seed %u; bad touches: %s. True error "
        "edge to edge in mm, over the committed passes.\n\n",
        o.Passes, kScreen.width, kScreen.height, kPanel.widthMm, kPanel.heightMm, o.Seed,
        BadTouchesName(o.Bad));
}

FamilyRow RunRow(const FamilyBenchOptions& o, const PassLayout& layout, size_t familyIndex,
                 const BenchFamily& family, double scatterMm,
                 const std::vector<FitCandidate>& candidates) {
    FamilyRow row;
    row.Family = family.Name;
    row.ScatterMm = scatterMm;
    row.BadRun = o.Bad != BadTouches::None;
    for (int pass = 0; pass < o.Passes; ++pass) {
        PassTouching touching;
        touching.Sensor = SensorOfPass(family, SensorSeed(o.Seed, pass, familyIndex), kPanel);
        touching.Person =
            SimulatedPerson{scatterMm, kPanel.widthMm, kPanel.heightMm, PersonSeed(o.Seed, pass)};
        touching.Bad = DrawBadTouches(o.Bad, *layout.Config, BadSeed(o.Seed, pass));
        touching.Screen = kScreen;
        touching.Panel = kPanel;
        row.Add(RunFamilyPass(FamilyPassInput{&layout, touching, &candidates}));
    }
    return row;
}

}  // namespace

int main(int argc, char** argv) {
    FamilyBenchOptions options;
    std::string error;
    if (!ParseFamilyBenchOptions(argc, argv, TARNIX_SHIPPED_CFG, &options, &error)) {
        std::fprintf(stderr, "%s\n%s\n", error.c_str(), kFamilyBenchUsage);
        return 2;
    }
    const std::filesystem::path file =
        EffectiveLayout(options, PrepareBenchScratch("tarnix-family-bench"));
    const auto layout = file.empty() ? nullptr : ReadPassLayout(file);
    if (!layout) {
        std::fprintf(stderr, "%s: unreadable, or no usable grid\n", options.Layout.c_str());
        return 1;
    }
    PrintSettings(options);
    const std::vector<FitCandidate> candidates = HindsightCandidates();
    const std::vector<BenchFamily> families = BenchFamilies();
    std::vector<FamilyRow> rows;
    for (size_t f = 0; f < families.size(); ++f) {
        if (!options.Families.empty() && !FamilyPicked(families[f], options.Families)) continue;
        for (double scatter : options.ScattersMm)
            rows.push_back(RunRow(options, *layout, f, families[f], scatter, candidates));
    }
    PrintFamilyTable(rows, candidates);
    std::printf("\n");
    PrintFeltFailures(rows);
    std::printf(
        "\nHindsight: each candidate alone on the same touches, median whole RMS / worst "
        "mm over the passes it fitted.\n\n");
    PrintHindsightTable(rows, candidates);
    SetReportFolderOverride(nullptr);
    return 0;
}
