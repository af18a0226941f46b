// A model of a pass's mapping from touch to target: fitted to the touches, it predicts a target
// and tells how well it would have predicted each touch it was fitted to.
#pragma once

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "fit/fit_basis.h"

// The touches carried by their own affine fit to the targets, scaled so that the targets span
// -1 .. 1 on each axis: every model works in this frame, whatever the controller's range, offset,
// swapped or mirrored axes, so its terms stay well conditioned and its x is the target's x.
class TouchFrame {
  public:
    // False when the points do not determine the affine fit.
    bool Fit(const std::vector<BasisPoint>& points);
    void TouchToFrame(double v, double w, double& x, double& y) const;
    void FrameToTouch(double x, double y, double& v, double& w) const;
    // A target in the frame's scale (-1 .. 1 over the targets) and back.
    void TargetToFrame(double X, double Y, double& x, double& y) const;
    void FrameToTarget(double x, double y, double& X, double& Y) const;

  private:
    double affine_[6] = {};  // x = a0 + a1 v + a2 w, y = a3 + a4 v + a5 w (frame units)
    double inverse_[6] = {};
    double centre_[2] = {}, scale_[2] = {1.0, 1.0};
};

class FitModel {
  public:
    virtual ~FitModel() = default;
    virtual std::string Name() const = 0;
    // False when the points do not determine the model.
    virtual bool Fit(const std::vector<BasisPoint>& points, const TouchFrame& frame) = 0;
    // The parameters an axis spends on the points: the trace of the fit's hat matrix.
    virtual double Terms() const = 0;
    // The target of a touch (normalised units).
    virtual void Predict(double v, double w, double& x, double& y) const = 0;
    // Fitted point i's leverage and what the fit without it predicts there minus its target.
    virtual double Leverage(size_t i) const = 0;
    virtual void Deleted(size_t i, double& dx, double& dy) const = 0;
    // The leverage a new touch at (v, w) would have.
    virtual double LeverageAt(double v, double w) const = 0;
};

// Every model the pass weighs, by name, in the order FitModelNames gives.
std::vector<std::string> FitModelNames();
// Null for an unknown name.
std::unique_ptr<FitModel> MakeFitModel(const std::string& name);

// The factories, one file each.
std::unique_ptr<FitModel> MakePolynomialModel(int order);
std::unique_ptr<FitModel> MakeHarmonicModel(int order);
std::unique_ptr<FitModel> MakeSmoothModel(int order);
std::unique_ptr<FitModel> MakeSheetModel();
