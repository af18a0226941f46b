// The true error of a fitted mapping: screen points from edge to edge through the sensor and the
// fit, judged by zone in millimetres on the glass.
#include "bench/accuracy/judged_mapping.h"

#include <vector>

#include "fit/fit_evaluation.h"

namespace {

constexpr int kColumnsJudged = 97;  // points judged across, the outermost on the edge pixels
constexpr int kRowsJudged = 55;

}  // namespace

AccuracyZones JudgeMapping(const CalibrationFit& fit, const CalibrationConfig& c,
                           const ScreenRect& screen, const PanelSize& panel,
                           const StoredTouchAt& touchAt) {
    std::vector<ErrorSample> samples;
    samples.reserve(size_t(kColumnsJudged) * kRowsJudged);
    for (int row = 0; row < kRowsJudged; ++row) {
        for (int column = 0; column < kColumnsJudged; ++column) {
            const double x = 0.5 + column * (screen.width - 1.0) / (kColumnsJudged - 1);
            const double y = 0.5 + row * (screen.height - 1.0) / (kRowsJudged - 1);
            const RawPoint touch = touchAt(x, y);
            double nx = 0, ny = 0;
            PredictNormalisedPosition(fit, touch.V, touch.W, nx, ny);
            const double px = (nx * c.RangeX + c.OriginX) * screen.width;
            const double py = (ny * c.RangeY + c.OriginY) * screen.height;
            samples.push_back(ErrorSample{x, y, px - x, py - y, false});
        }
    }
    return SummariseZones(samples, screen, panel);
}
