// Timings of the Laplace path: a whole fit of 25 touches onto the default 9 x 9 virtual grid
// (kind 4 with its up to 3010 sums of squares, and kind 3), with reports and without.
#include <benchmark/benchmark.h>

#include "laplace/laplace_fit.h"
#include "laplace/laplace_model.h"
#include "laplace/offset_rotation_search.h"
#include "numeric/design_matrices.h"
#include "tests/fit/fit_test_support.h"

namespace {

// Reports into a fresh folder, or (without) into a folder that cannot exist, so that every
// report is skipped.
struct ReportTarget {
    ReportFolder Folder;
    explicit ReportTarget(bool withReports) {
        if (withReports) return;
        const std::filesystem::path blocker = Folder.Path() / "not-a-folder";
        std::ofstream(blocker) << "x";
        SetReportFolderOverride((blocker / "reports").wstring().c_str());
    }
};

void LaplaceFit(benchmark::State& state, uint32_t kind) {
    const bool withReports = state.range(0) != 0;
    ReportTarget reports(withReports);
    GridSetup setup;
    setup.Kind = kind;
    FitBench bench(setup);
    for (auto _ : state) {
        if (!RunLaplaceFit(*bench.Fit)) state.SkipWithError("the fit refused");
        benchmark::DoNotOptimize(bench.Fit->CoeffX.data);
        if (withReports) {
            state.PauseTiming();  // keep the reports small: empty them, as files that exist
            for (const auto& entry : std::filesystem::directory_iterator(reports.Folder.Path()))
                std::filesystem::resize_file(entry.path(), 0);
            state.ResumeTiming();
        }
    }
    state.SetLabel(withReports ? "with reports" : "without reports");
}

void BM_LaplaceKind4Fit(benchmark::State& state) { LaplaceFit(state, 4); }
void BM_LaplaceKind3Fit(benchmark::State& state) { LaplaceFit(state, 3); }

// One evaluation of the search: both models at 25 targets and the residuals.
void BM_LaplaceSumOfSquares(benchmark::State& state) {
    ReportTarget reports(false);
    GridSetup setup;
    setup.Kind = 4;
    FitBench bench(setup);
    CalibrationFit& fit = *bench.Fit;
    RunLaplaceFit(fit);
    fit.TargetX = fit.TargetY = fit.TouchV = fit.TouchW = Vector(25);
    for (uint32_t i = 0; i < 25; ++i) {
        fit.TargetX[i] = bench.Config.Targets[i].X - 0.5;
        fit.TargetY[i] = bench.Config.Targets[i].Y - 0.5;
        fit.TouchV[i] = fit.TargetX[i];
        fit.TouchW[i] = fit.TargetY[i];
    }
    double theta = 0.0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            LaplaceSumOfSquares(fit, 25, theta, 0.01, -0.01, fit.LaplaceCoeffV, fit.LaplaceCoeffW));
        theta += 1e-6;
    }
}

// The search alone over a cheap sum that walks every scan to its end (3010 evaluations): the
// cost of its "LSSmin.txt" lines.
void BM_SearchReport(benchmark::State& state) {
    const bool withReports = state.range(0) != 0;
    ReportTarget reports(withReports);
    auto falling = [](double theta, double x, double y) { return 10.0 - x - y - theta; };
    for (auto _ : state) {
        benchmark::DoNotOptimize(SearchOffsetRotation(falling).MinSS);
        if (withReports) {
            state.PauseTiming();
            std::filesystem::resize_file(reports.Folder.Path() / "LSSmin.txt", 0);
            state.ResumeTiming();
        }
    }
    state.SetLabel(withReports ? "with report" : "without report");
}

}  // namespace

BENCHMARK(BM_SearchReport)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LaplaceKind4Fit)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_LaplaceKind3Fit)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_LaplaceSumOfSquares)->Unit(benchmark::kMicrosecond);

BENCHMARK_MAIN();
