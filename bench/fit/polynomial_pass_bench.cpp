// Times the polynomial path of one pass: normalisation, design matrix, both fits, mini targets and
// record packing, with the reports written to a folder or with every report failing to open.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>

#include "fit/calibration_record.h"
#include "fit/polynomial_fit.h"
#include "tests/fit/fit_test_support.h"

namespace {

GridSetup PassGrid(uint32_t side, uint32_t order) {
    GridSetup setup;
    setup.Rows = setup.Columns = side;
    setup.Order = order;
    setup.MiniTargetRadius = 0.03;
    return setup;
}

// The fit re-reads ControllerOffset and ScaleFactor from the configuration file, as in a pass.
void UseExampleFile(FitBench& bench) {
    const std::wstring path = std::filesystem::path(TARNIX_EXAMPLE_CFG).wstring();
    std::wcsncpy(bench.Parameters.CfgFilePath, path.c_str(), 259);
}

void OnePass(FitBench& bench, CalibrationDataRecord& record) {
    PreparePolynomialFit(*bench.Fit);
    RunPolynomialFit(*bench.Fit);
    PackCalibrationRecord(RecordArea{1920, 1080, 0, 0, 1}, 0, kPlainControllerType,
                          VirtualScreenMetrics{1920, 1080, 0, 0}, bench.Fit.get(), record);
    benchmark::DoNotOptimize(record);
}

void PassWithoutReports(benchmark::State& state) {
    FitBench bench(PassGrid(uint32_t(state.range(0)), uint32_t(state.range(1))));
    UseExampleFile(bench);
    ReportFolder folder;
    const auto blocked = folder.Path() / "not-a-folder";
    std::ofstream(blocked) << "x";
    SetReportFolderOverride(blocked.wstring().c_str());  // every report fails to open
    CalibrationDataRecord record;
    for (auto _ : state) OnePass(bench, record);
    if (bench.Fit->LastStatus != FitStatus::Fitted) state.SkipWithError("the fit failed");
    state.counters["points"] = bench.Fit->PointCount;
    state.counters["terms"] = bench.Fit->TermCount;
}

void PassWithReports(benchmark::State& state) {
    FitBench bench(PassGrid(uint32_t(state.range(0)), uint32_t(state.range(1))));
    UseExampleFile(bench);
    ReportFolder folder;
    CalibrationDataRecord record;
    int64_t passes = 0;
    for (auto _ : state) {
        OnePass(bench, record);
        if (++passes % 64 == 0) {  // keep the appended files small
            state.PauseTiming();
            for (const auto& entry : std::filesystem::directory_iterator(folder.Path()))
                std::filesystem::remove(entry.path());
            state.ResumeTiming();
        }
    }
    if (bench.Fit->LastStatus != FitStatus::Fitted) state.SkipWithError("the fit failed");
}

}  // namespace

BENCHMARK(PassWithoutReports)->Args({5, 3})->Args({9, 7})->Unit(benchmark::kMicrosecond);
BENCHMARK(PassWithReports)->Args({5, 3})->Args({9, 7})->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
