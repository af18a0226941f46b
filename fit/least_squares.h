// Least squares of two outputs on the columns of one design, by modified Gram-Schmidt applied
// twice: the fitted values, the leverages, and prediction at a new row with its leverage.
#pragma once

#include <cstddef>
#include <vector>

class LeastSquares {
  public:
    // rows: n x p row-major; outputs: n x 2. False when the columns are not independent.
    bool Fit(const std::vector<double>& rows, size_t p, const std::vector<double>& outputs);
    double Leverage(size_t i) const;
    double Fitted(size_t i, int axis) const { return fitted_[i * 2 + axis]; }
    double Coefficient(size_t k, int axis) const { return coeff_[k * 2 + axis]; }
    // The prediction at a new row of p terms, and that row's leverage.
    double Predict(const double* row, int axis) const;
    double LeverageOf(const double* row) const;

  private:
    double Norm(const double* v) const;
    size_t n_ = 0, p_ = 0;
    std::vector<double> q_, r_, fitted_, coeff_;
};
