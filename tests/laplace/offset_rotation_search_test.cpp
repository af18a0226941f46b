// The offset and rotation search: scan rules on injected sums, the "LSSmin.txt" structure and
// the recovery of a known offset and rotation from model touches.
#include "laplace/offset_rotation_search.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <limits>
#include <sstream>
#include <vector>

#include "laplace/laplace_model.h"
#include "numeric/design_matrices.h"
#include "tests/laplace/laplace_test_support.h"

namespace {

enum class Scanned { X, Y, Rotation };

// Records every evaluation and tells which scan it belongs to (evaluations arrive in scan order).
struct Probe {
    std::vector<double> Theta, X, Y;
    void Record(double theta, double x, double y) {
        Theta.push_back(theta);
        X.push_back(x);
        Y.push_back(y);
    }
};

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

TEST(OffsetRotationScan, ASumThatOnlyFallsWalksEveryScanToItsEnd) {
    ReportFolder reports;
    Probe probe;
    auto falling = [&](double theta, double x, double y) {
        probe.Record(theta, x, y);
        return 10.0 - x - y - theta;
    };
    const OffsetRotationResult r = SearchOffsetRotation(falling);
    EXPECT_EQ(r.Evaluations, 3010);  // 10 x (100 + 100 + 101)
    EXPECT_NEAR(r.OffsetX, 0.098, 1e-12);
    EXPECT_NEAR(r.OffsetY, 0.098, 1e-12);
    EXPECT_LT(r.Rotation, kRotationScanBound);
    EXPECT_GT(r.Rotation * 180.0 / kSearchPi, 9.99);
    // The first X scan: 100 values from -0.1, each the previous plus the step.
    double running = -0.1;
    for (int i = 0; i < 100; ++i) {
        EXPECT_EQ(probe.X[i], running) << i;
        running += 0.002;
    }
    EXPECT_EQ(probe.Y[100], -0.1);
    EXPECT_EQ(probe.Theta[200], kRotationScanStart);
    EXPECT_GT(probe.Theta[300] * 180.0 / kSearchPi, 9.99);  // the 101st angle, just under +10
    EXPECT_NEAR(r.MinSS, 10.0 - r.OffsetX - r.OffsetY - r.Rotation, 1e-12);
}

TEST(OffsetRotationScan, ARiseAtTheSecondValueEndsAtTheStartOfTheRange) {
    ReportFolder reports;
    int evaluation = 0;
    // Within every scan the second value is worse than the first.
    auto risingAtSecond = [&](double, double, double) { return (evaluation++ % 2) ? 2.0 : 1.0; };
    const OffsetRotationResult r = SearchOffsetRotation(risingAtSecond);
    EXPECT_EQ(r.Evaluations, 60);
    EXPECT_NEAR(r.OffsetX, -0.1, 1e-15);
    EXPECT_NEAR(r.OffsetY, -0.1, 1e-15);
    EXPECT_NEAR(r.Rotation, kRotationScanStart, 1e-15);
    EXPECT_EQ(r.MinSS, 1.0);
}

TEST(OffsetRotationScan, AFirstSumAbove1e50EndsOneStepBelowTheStart) {
    ReportFolder reports;
    auto huge = [](double, double, double) { return 2e50; };
    const OffsetRotationResult r = SearchOffsetRotation(huge);
    EXPECT_EQ(r.Evaluations, 30);
    EXPECT_NEAR(r.OffsetX, -0.102, 1e-15);
    EXPECT_NEAR(r.OffsetY, -0.102, 1e-15);
    EXPECT_NEAR(r.Rotation * 180.0 / kSearchPi, -10.2, 1e-9);
    EXPECT_EQ(r.MinSS, 1e50);
}

TEST(OffsetRotationScan, EqualSumsContinueTheScan) {
    ReportFolder reports;
    auto flat = [](double, double, double) { return 3.0; };
    const OffsetRotationResult r = SearchOffsetRotation(flat);
    EXPECT_EQ(r.Evaluations, 3010);
    EXPECT_NEAR(r.OffsetX, 0.098, 1e-12);
}

TEST(OffsetRotationScan, ANanSumNeverEndsAScanEarly) {
    ReportFolder reports;
    const double nan = std::numeric_limits<double>::quiet_NaN();
    Probe probe;
    // The X scan sees 5, NaN, 7, 8: the NaN is no rise and becomes the running minimum, 7 is no
    // rise over it, 8 is. The later scans rise at their second value.
    auto sums = [&](double theta, double x, double y) {
        probe.Record(theta, x, y);
        const size_t i = probe.X.size() - 1;
        const double first[] = {5.0, nan, 7.0, 8.0};
        return i < 4 ? first[i] : double((i - 4) % 2);
    };
    const OffsetRotationResult r = SearchOffsetRotation(sums);
    ASSERT_GE(probe.X.size(), 5u);
    EXPECT_EQ(probe.Y[4], -0.1);  // the fifth evaluation starts the Y scan
    EXPECT_EQ(r.Evaluations, 4 + 2 + 2 + 9 * 6);
    EXPECT_NEAR(r.OffsetX, -0.1, 1e-15);  // later cycles rise at the second value
    EXPECT_NEAR(probe.X[4], -0.096, 1e-15);
    auto nanAlways = [&](double, double, double) { return nan; };
    const OffsetRotationResult all = SearchOffsetRotation(nanAlways);
    EXPECT_EQ(all.Evaluations, 3010);
    EXPECT_TRUE(std::isnan(all.MinSS));
    EXPECT_NEAR(all.OffsetX, 0.098, 1e-12);
}

TEST(OffsetRotationReport, HoldsOneHeaderAndPerCycleTheThreeScansWithBlankAndSummaryLines) {
    ReportFolder reports;
    int evaluation = 0;
    auto risingAtSecond = [&](double, double, double) { return (evaluation++ % 2) ? 2.5 : 1.25; };
    SearchOffsetRotation(risingAtSecond);
    const std::string text = reports.Read("LSSmin.txt");
    EXPECT_EQ(text.find('\n'), text.find("\r\n") + 1);
    EXPECT_EQ(CountOf(text, "\n"), CountOf(text, "\r\n"));
    const std::vector<std::string> lines = Lines(text);
    ASSERT_EQ(lines.size(), 2u + 10u * 9u);
    EXPECT_EQ(lines[0], "      SS     Xoff     Yoff       TD (Deg)  ");
    EXPECT_EQ(lines[1], "======== ======== ======== ================");
    for (int cycle = 0; cycle < 10; ++cycle) {
        const size_t at = 2 + cycle * 9;
        // X scan (2 lines), blank, Y scan (2), rotation scan (2), blank, summary.
        for (size_t k : {0, 1, 3, 4, 5, 6, 8}) EXPECT_EQ(lines[at + k].size(), 46u) << at + k;
        EXPECT_EQ(lines[at + 2], "");
        EXPECT_EQ(lines[at + 7], "");
        EXPECT_EQ(lines[at + 8].substr(0, 8), "  2.5000");  // the sum that ended the rotation scan
    }
    // First cycle: theta is 0 during the offset scans; the rotation scan shows its own angles.
    EXPECT_EQ(lines[2], "  1.2500  -0.1000   0.0000   0.0000 (  0.0000)");
    EXPECT_EQ(lines[3], "  2.5000  -0.0980   0.0000   0.0000 (  0.0000)");
    EXPECT_EQ(lines[5], "  1.2500  -0.1000  -0.1000   0.0000 (  0.0000)");
    EXPECT_EQ(lines[7], "  1.2500  -0.1000  -0.1000  -0.1745 (-10.0000)");
    EXPECT_EQ(lines[8], "  2.5000  -0.1000  -0.1000  -0.1710 ( -9.8000)");
    EXPECT_EQ(lines[10], "  2.5000  -0.1000  -0.1000  -0.1745 (-10.0000)");
    // Second cycle: the offset scans show the angle the first cycle left.
    EXPECT_EQ(lines[11], "  1.2500  -0.1000  -0.1000  -0.1745 (-10.0000)");

    SearchOffsetRotation(risingAtSecond);  // a second search appends a second report
    const std::string twice = reports.Read("LSSmin.txt");
    EXPECT_EQ(twice.substr(0, text.size()), text);
    EXPECT_EQ(CountOf(twice, "      SS     Xoff     Yoff"), 2u);
}

TEST(OffsetRotationReport, AReportThatCannotBeOpenedLeavesTheSearchAsItIs) {
    ReportFolder reports;
    auto bowl = [](double theta, double x, double y) {
        return (x - 0.03) * (x - 0.03) + (y + 0.05) * (y + 0.05) + (theta - 0.02) * (theta - 0.02);
    };
    const OffsetRotationResult expected = SearchOffsetRotation(bowl);
    const std::filesystem::path blocker = reports.Path() / "not-a-folder";
    std::ofstream(blocker) << "x";
    SetReportFolderOverride((blocker / "reports").wstring().c_str());
    const OffsetRotationResult r = SearchOffsetRotation(bowl);
    EXPECT_EQ(r.OffsetX, expected.OffsetX);
    EXPECT_EQ(r.OffsetY, expected.OffsetY);
    EXPECT_EQ(r.Rotation, expected.Rotation);
    EXPECT_EQ(r.MinSS, expected.MinSS);
    EXPECT_NEAR(r.OffsetX, 0.03, 0.002);
    EXPECT_NEAR(r.OffsetY, -0.05, 0.002);
    EXPECT_NEAR(r.Rotation, 0.02, kRotationScanStep);
}

// Touches of the symmetric model shifted by (0.02, -0.01) and turned by 1.5 degrees on a 5 x 5
// grid: the search with the model's coefficients finds them again within one step.
TEST(OffsetRotationRecovery, FindsAKnownOffsetAndRotationWithinOneStep) {
    ReportFolder reports;
    const double cv[] = {0.93, 0.03, -0.006, 0.002}, cw[] = {0.91, -0.025, 0.004, 0.001};
    const double theta = 1.5 * kDegree, xoff = 0.02, yoff = -0.01;
    CalibrationFit fit;
    ControllerParameters parameters;
    fit.Parameters = &parameters;
    fit.TargetX = Vector(25);
    fit.TargetY = Vector(25);
    fit.TouchV = Vector(25);
    fit.TouchW = Vector(25);
    for (uint32_t i = 0; i < 25; ++i) {
        const double x = (i % 5) * 0.2 - 0.4, y = (i / 5) * 0.2 - 0.4;
        fit.TargetX[i] = x;
        fit.TargetY[i] = y;
        fit.TouchV[i] = ModelV(cv, 4, x, y, theta, xoff, yoff);
        fit.TouchW[i] = ModelW(cw, 4, x, y, theta, xoff, yoff);
    }
    Vector cV(4), cW(4);
    for (uint32_t k = 0; k < 4; ++k) {
        cV[k] = cv[k];
        cW[k] = cw[k];
    }
    ActiveLaplaceTermCount = 4;
    SearchLaplaceOffsetRotation(fit, 25, cV, cW);
    EXPECT_NEAR(fit.LaplaceOffsetX, xoff, kOffsetScanStep);
    EXPECT_NEAR(fit.LaplaceOffsetY, yoff, kOffsetScanStep);
    EXPECT_NEAR(fit.LaplaceRotation, theta, kRotationScanStep);
    EXPECT_LT(fit.LaplaceMinSS, 1e-4);
    EXPECT_NEAR(fit.LaplaceMinSS,
                LaplaceSumOfSquares(fit, 25, fit.LaplaceRotation, fit.LaplaceOffsetX,
                                    fit.LaplaceOffsetY, cV, cW),
                1e-9 * fit.LaplaceMinSS + 1e-300);
    EXPECT_EQ(CountOf(reports.Read("LSSmin.txt"), "\r\n\r\n"), 20u);  // two blank lines a cycle
}

}  // namespace
