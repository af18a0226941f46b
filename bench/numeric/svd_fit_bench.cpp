// Times SvdFit against LAPACK's dgelsd on the same design matrices and prints the ratio.
#include <benchmark/benchmark.h>
#include <lapacke.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "numeric/design_matrices.h"
#include "numeric/svd.h"

namespace {

struct Problem {
    Matrix design;
    Vector y;
};

Problem MakeProblem(int32_t m, int32_t n) {
    std::mt19937 rng(static_cast<unsigned>(m * 100 + n));
    std::normal_distribution<double> normal;
    Problem p{Matrix(m, n), Vector(static_cast<uint32_t>(m))};
    for (int32_t i = 0; i < m; ++i) {
        for (int32_t j = 0; j < n; ++j) p.design[i][j] = normal(rng);
        p.y[i] = normal(rng);
    }
    return p;
}

void BM_SvdFit(benchmark::State& state) {
    const auto m = static_cast<int32_t>(state.range(0)), n = static_cast<int32_t>(state.range(1));
    const Problem p = MakeProblem(m, n);
    PolynomialDesignMatrix = p.design;
    PolynomialTermCount = n;
    Vector x(static_cast<uint32_t>(m)), sig(static_cast<uint32_t>(m)), a(static_cast<uint32_t>(n));
    for (int32_t i = 0; i < m; ++i) x[i] = i, sig[i] = 1.0;
    Matrix u, v;
    Vector w;
    double chisq = 0.0;
    for (auto _ : state) {
        SvdFit(x, p.y, sig, a, u, v, w, chisq, PolynomialBasisRow);
        benchmark::DoNotOptimize(a.data);
    }
}

void BM_LapackDgelsd(benchmark::State& state) {
    const auto m = static_cast<int32_t>(state.range(0)), n = static_cast<int32_t>(state.range(1));
    const Problem p = MakeProblem(m, n);
    std::vector<double> original(static_cast<size_t>(m) * n), col(original.size()), b(m);
    std::vector<double> s(n);
    for (int32_t j = 0; j < n; ++j)
        for (int32_t i = 0; i < m; ++i) original[j * m + i] = p.design[i][j];
    // Workspace queried once, outside the timed loop, as a caller reusing it would.
    double workSize = 0.0;
    lapack_int iworkSize = 0, rank = 0;
    LAPACKE_dgelsd_work(LAPACK_COL_MAJOR, m, n, 1, col.data(), m, b.data(), m, s.data(), 1e-13,
                        &rank, &workSize, -1, &iworkSize);
    std::vector<double> work(static_cast<size_t>(workSize));
    std::vector<lapack_int> iwork(static_cast<size_t>(iworkSize));
    for (auto _ : state) {
        col = original;
        for (int32_t i = 0; i < m; ++i) b[i] = p.y[i];
        LAPACKE_dgelsd_work(LAPACK_COL_MAJOR, m, n, 1, col.data(), m, b.data(), m, s.data(), 1e-13,
                            &rank, work.data(), static_cast<lapack_int>(work.size()), iwork.data());
        benchmark::DoNotOptimize(b.data());
    }
}

const std::vector<std::vector<int64_t>> kSizes = {{25, 10}, {81, 36}, {36, 36}};

// Prints SvdFit time / dgelsd time per size after both ran in this process (CPU time:
// the machine may be shared).
class RatioReporter : public benchmark::ConsoleReporter {
  public:
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.run_type != Run::RT_Iteration) continue;
            times_[run.benchmark_name()] = run.GetAdjustedCPUTime();
        }
        ConsoleReporter::ReportRuns(runs);
    }
    void Finalize() override {
        ConsoleReporter::Finalize();
        for (const auto& size : kSizes) {
            const std::string suffix =
                "/" + std::to_string(size[0]) + "/" + std::to_string(size[1]);
            const auto ours = times_.find("BM_SvdFit" + suffix);
            const auto theirs = times_.find("BM_LapackDgelsd" + suffix);
            if (ours == times_.end() || theirs == times_.end()) continue;
            std::printf("ratio SvdFit/dgelsd %ldx%ld: %.3f (%.0f ns vs %.0f ns)\n",
                        static_cast<long>(size[0]), static_cast<long>(size[1]),
                        ours->second / theirs->second, ours->second, theirs->second);
        }
    }

  private:
    std::map<std::string, double> times_;
};

}  // namespace

BENCHMARK(BM_SvdFit)->Args({25, 10})->Args({81, 36})->Args({36, 36});
BENCHMARK(BM_LapackDgelsd)->Args({25, 10})->Args({81, 36})->Args({36, 36});

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
