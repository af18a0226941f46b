// Every term x^i y^j of an order in the touches' frame: the affine map at order 1.
#include "fit/design_matrix_builders.h"
#include "fit/linear_model.h"

std::unique_ptr<FitModel> MakePolynomialModel(int order) {
    const int32_t terms = TermCountForOrder(uint32_t(order));
    const std::string name = order == 1 ? "affine" : "polynomial-" + std::to_string(order);
    return std::make_unique<LinearModel>(
        name, size_t(terms),
        [terms](double x, double y, double* row) { PolynomialTerms(x, y, terms, row); });
}
