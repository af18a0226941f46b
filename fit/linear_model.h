// A model linear in its coefficients over terms of the touch's frame position, optionally with
// its higher terms shrunk by a strength its own deleted residuals choose.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "fit/fit_model.h"
#include "fit/least_squares.h"

// A pass never spends more than one term per this many touches on an axis: the judge and the
// deleted residuals need room, and fewer touches a term chase the scatter.
inline constexpr double kTouchesPerTerm = 1.7;

class LinearModel : public FitModel {
  public:
    using RowOf = std::function<void(double x, double y, double* row)>;
    // penalty: per term, how strongly it is shrunk (empty: a plain least-squares fit).
    LinearModel(std::string name, size_t termCount, RowOf terms, std::vector<double> penalty = {});

    std::string Name() const override { return name_; }
    bool Fit(const std::vector<BasisPoint>& points, const TouchFrame& frame) override;
    double Terms() const override { return effective_; }
    void Predict(double v, double w, double& x, double& y) const override;
    double Leverage(size_t i) const override { return fit_.Leverage(i); }
    void Deleted(size_t i, double& dx, double& dy) const override;
    double LeverageAt(double v, double w) const override;

  private:
    bool FitWith(double strength);
    double DeletedMeanSquare() const;
    std::vector<double> Row(double v, double w) const;

    std::string name_;
    size_t terms_;
    RowOf row_;
    std::vector<double> penalty_;
    TouchFrame frame_;
    std::vector<BasisPoint> points_;
    LeastSquares fit_;
    double effective_ = 0.0;
};
