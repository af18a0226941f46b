// Candidate models weighed together: the convex weights under which their joint prediction of
// each touch left out in turn misses least.
#pragma once

#include <memory>
#include <vector>

#include "fit/fit_model.h"

struct WeighedModel {
    std::shared_ptr<FitModel> Model;
    double Weight = 0.0;
};

// The weights (non-negative, summing to 1) of fitted models over n touches that minimise the
// mean square of the blend's deleted residuals, scaled by unitX and unitY.
std::vector<double> BlendWeights(const std::vector<std::shared_ptr<FitModel>>& models, size_t n,
                                 double unitX, double unitY);

// The blend of models (their weights summing to 1), fitted already.
std::unique_ptr<FitModel> MakeBlend(std::vector<WeighedModel> members);
