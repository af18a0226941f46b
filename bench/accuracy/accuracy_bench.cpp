// The accuracy a person gets from each target layout: many simulated passes per sensor and touch
// scatter, the median and 90th-percentile pass figures in millimetres by zone.
//   tarnix_accuracy_bench [--passes N] [--shipped]
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "bench/accuracy/bench_scratch.h"
#include "bench/accuracy/percentile.h"
#include "bench/accuracy/person_pass.h"
#include "bench/accuracy/stand_in_sensors.h"
#include "platform/report_file.h"

namespace {

const ScreenRect kScreen{0, 0, 1920, 1080};  // a 15.6-inch panel, 0.179 mm a pixel
const PanelSize kPanel{344.2, 193.6};

struct NamedLayout {
    std::string name;
    std::string text;  // configuration keys; empty: the shipped file
};

// Target positions along one axis as TargetGrid keys of a rows x columns grid.
std::string PlacedGrid(const std::vector<double>& xs, const std::vector<double>& ys) {
    std::string keys;
    char line[64];
    int index = 0;
    for (double y : ys)
        for (double x : xs) {
            std::snprintf(line, sizeof line, "TargetGridX%02d=%.4f\nTargetGridY%02d=%.4f\n", index,
                          x, index, y);
            keys += line;
            ++index;
        }
    return keys;
}

std::string Grid(int rows, int columns, double magnification, int code = 13) {
    return "[TARNIX-APP]\nNumGridRows=" + std::to_string(rows) +
           "\nNumGridPoints=" + std::to_string(rows * columns) +
           "\nFitModelCode=" + std::to_string(code) +
           "\nGridMagnification=" + std::to_string(magnification) + "\n";
}

std::vector<NamedLayout> Layouts(bool shippedOnly) {
    std::vector<NamedLayout> layouts = {{"shipped Tarnix.cfg", ""}};
    if (shippedOnly) return layouts;
    const std::vector<double> six = {0.02, 0.19, 0.39, 0.61, 0.81, 0.98};
    const std::vector<double> sixY = {0.03, 0.2, 0.4, 0.6, 0.8, 0.97};
    layouts.push_back({"5x5 (cell centres)", Grid(5, 5, 1.0)});
    layouts.push_back({"5x5 x1.2", Grid(5, 5, 1.2)});
    layouts.push_back({"6x6 x1.15 order 3 (shipped before)", Grid(6, 6, 1.15)});
    layouts.push_back({"5x7 x1.12", Grid(5, 7, 1.12)});
    layouts.push_back({"6x6 placed", Grid(6, 6, 1.0) + PlacedGrid(six, sixY)});
    layouts.push_back({"6x6 x1.18", Grid(6, 6, 1.18)});
    layouts.push_back({"6x6 x1.15 order 2", Grid(6, 6, 1.15, 12)});
    layouts.push_back({"6x6 x1.15 order 4", Grid(6, 6, 1.15, 14)});
    layouts.push_back({"6x6 x1.18 order 4", Grid(6, 6, 1.18, 14)});
    layouts.push_back({"6x6 x1.15 Laplace", Grid(6, 6, 1.15, 43)});
    layouts.push_back({"6x6 x1.15 harmonic order 3", Grid(6, 6, 1.15, 13) + "FitTerms=1\n"});
    layouts.push_back({"6x6 x1.15 harmonic order 5", Grid(6, 6, 1.15, 15) + "FitTerms=1\n"});
    layouts.push_back({"6x6 x1.15 judged order 7", Grid(6, 6, 1.15, 17) + "FitTerms=2\n"});
    layouts.push_back({"5x6 x1.15 judged order 5", Grid(5, 6, 1.15, 15) + "FitTerms=2\n"});
    layouts.push_back(
        {"6x6 x1.15 judged order 5 (shipped before)", Grid(6, 6, 1.15, 15) + "FitTerms=2\n"});
    layouts.push_back({"6x6 x1.15 sheet order 7", Grid(6, 6, 1.15, 17) + "FitTerms=3\n"});
    layouts.push_back(
        {"6x6 x1.15 Lobatto sheet order 5", Grid(6, 6, 1.15, 15) + "FitTerms=3\nGridSpacing=1\n"});
    layouts.push_back(
        {"6x6 x1.15 Lobatto judged order 7", Grid(6, 6, 1.15, 17) + "FitTerms=2\nGridSpacing=1\n"});
    return layouts;
}

struct CaseFigures {
    std::vector<double> wholeRms, wholeWorst, innerRms, innerWorst, edgeRms, edgeWorst;
    int refused = 0;
};

void PrintHeader() {
    std::printf(
        "| Layout | Sensor | Scatter mm | Touches | Refused | Whole RMS med / p90 | Whole worst "
        "med / p90 | Inner RMS med | Inner worst med | Edge RMS med | Edge worst med |\n"
        "|---|---|---|---|---|---|---|---|---|---|---|\n");
}

void PrintRow(const std::string& layout, const char* sensor, double scatter, uint32_t touches,
              int passes, const CaseFigures& f) {
    std::printf(
        "| %s | %s | %.1f | %u | %d/%d | %.2f / %.2f | %.2f / %.2f | %.2f | %.2f | %.2f | %.2f "
        "|\n",
        layout.c_str(), sensor, scatter, touches, f.refused, passes, Percentile(f.wholeRms, 0.5),
        Percentile(f.wholeRms, 0.9), Percentile(f.wholeWorst, 0.5), Percentile(f.wholeWorst, 0.9),
        Percentile(f.innerRms, 0.5), Percentile(f.innerWorst, 0.5), Percentile(f.edgeRms, 0.5),
        Percentile(f.edgeWorst, 0.5));
}

}  // namespace

int main(int argc, char** argv) {
    int passes = 100;
    bool shippedOnly = false;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--passes") == 0 && i + 1 < argc) {
            passes = std::max(1, std::atoi(argv[++i]));
        } else if (std::strcmp(argv[i], "--shipped") == 0) {
            shippedOnly = true;
        } else {
            std::fprintf(stderr, "usage: tarnix_accuracy_bench [--passes N] [--shipped]\n");
            return 2;
        }
    }
    const std::filesystem::path scratch = PrepareBenchScratch("tarnix-accuracy-bench");
    std::printf("%d passes per case on %dx%d px, %.1f x %.1f mm; error edge to edge, mm\n\n",
                passes, kScreen.width, kScreen.height, kPanel.widthMm, kPanel.heightMm);
    PrintHeader();
    int layoutIndex = 0;
    for (const NamedLayout& named : Layouts(shippedOnly)) {
        std::filesystem::path file = TARNIX_SHIPPED_CFG;
        if (!named.text.empty()) {
            file = scratch / ("layout" + std::to_string(layoutIndex) + ".cfg");
            std::ofstream(file, std::ios::binary | std::ios::trunc) << named.text;
        }
        ++layoutIndex;
        const auto layout = ReadPassLayout(file);
        if (!layout) {
            std::fprintf(stderr, "%s: no usable grid\n", named.name.c_str());
            return 1;
        }
        for (const NamedSensor& sensor : StandInSensors()) {
            for (double scatter : {0.5, 1.0, 1.5}) {
                CaseFigures f;
                for (int pass = 0; pass < passes; ++pass) {
                    const SimulatedPerson person{scatter, kPanel.widthMm, kPanel.heightMm,
                                                 uint32_t(1000 + pass)};
                    const PassOutcome outcome =
                        RunPersonPass(*layout, sensor.sensor, person, kScreen, kPanel);
                    if (outcome.Refused) {
                        ++f.refused;
                        continue;
                    }
                    const AccuracyZones& z = outcome.Zones;
                    f.wholeRms.push_back(z.whole.millimetres.rms);
                    f.wholeWorst.push_back(z.whole.millimetres.maximum);
                    f.innerRms.push_back(z.inner.millimetres.rms);
                    f.innerWorst.push_back(z.inner.millimetres.maximum);
                    f.edgeRms.push_back(z.edge.millimetres.rms);
                    f.edgeWorst.push_back(z.edge.millimetres.maximum);
                }
                PrintRow(named.name, sensor.name, scatter, layout->Touches, passes, f);
            }
        }
    }
    SetReportFolderOverride(nullptr);
    return 0;
}
