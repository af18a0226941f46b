// The step of a designed layout of targets.
#include "fit/designed_step.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

double DesignedStep(const std::vector<ScreenPoint>& targets) {
    std::vector<double> nearest;
    for (size_t i = 0; i < targets.size(); ++i) {
        double best = 0.0;
        for (size_t j = 0; j < targets.size(); ++j) {
            const double d = std::hypot(targets[i].X - targets[j].X, targets[i].Y - targets[j].Y);
            if (d >= 0.5 && (best == 0.0 || d < best)) best = d;
        }
        if (best > 0.0) nearest.push_back(best);
    }
    if (nearest.empty()) return 0.0;
    std::nth_element(nearest.begin(), nearest.begin() + std::ptrdiff_t(nearest.size() / 2),
                     nearest.end());
    return nearest[nearest.size() / 2];
}
