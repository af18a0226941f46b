// The harmonic polynomials of z = x + iy up to an order: a resistive sheet's bow in few terms.
#include <algorithm>

#include "fit/design_matrix_builders.h"
#include "fit/linear_model.h"

std::unique_ptr<FitModel> MakeHarmonicModel(int order) {
    const int terms = 2 * order + 1;
    return std::make_unique<LinearModel>("harmonic-" + std::to_string(order), size_t(terms),
                                         [terms](double x, double y, double* row) {
                                             double all[kGeneralHarmonicTerms];
                                             GeneralHarmonicTerms(x, y, all);
                                             std::copy(all, all + terms, row);
                                         });
}
