// Every term of an order, the terms above the affine map shrunk the more the higher their
// degree, with the strength the touches' deleted residuals favour: follows any smooth distortion
// the touches show, and no more.
#include "fit/design_matrix_builders.h"
#include "fit/linear_model.h"

std::unique_ptr<FitModel> MakeSmoothModel(int order) {
    const int32_t terms = TermCountForOrder(uint32_t(order));
    std::vector<double> penalty;
    for (int degree = 0; degree <= order; ++degree)
        for (int k = 0; k <= degree; ++k)
            penalty.push_back(degree < 2 ? 0.0 : double((degree - 1) * (degree - 1)));
    return std::make_unique<LinearModel>(
        "smooth-" + std::to_string(order), size_t(terms),
        [terms](double x, double y, double* row) { PolynomialTerms(x, y, terms, row); },
        std::move(penalty));
}
