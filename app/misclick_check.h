// The misclick and double-touch check of a pass: from the touches already stored, where the
// current target should be touched, and whether a touch is plainly meant for another spot.
#pragma once

#include <cstdint>
#include <vector>

#include "fit/glass_scale.h"

// An affine map raw -> screen fitted by least squares to stored touches. It exists only when the
// touches span the sensor in two directions: at least three, and their thinnest spread at least a
// tenth of their widest (collinear touches, such as a first row of targets, give no map).
class AffineTouchMap {
  public:
    bool Fit(const std::vector<RawPoint>& raw, const std::vector<ScreenPoint>& screen);
    ScreenPoint Map(RawPoint touch) const;
    // The screen distance the map puts between two touches.
    double Distance(RawPoint a, RawPoint b) const;

  private:
    double x_[3] = {}, y_[3] = {};  // constant, per V, per W
};

// The smaller grid step: the smallest gap between two distinct columns or two distinct rows of
// the grid targets (positions closer than half a pixel are one column); 0 when there is none.
double SmallerGridStep(const std::vector<ScreenPoint>& gridTargets);

struct MisclickSettings {
    double TolerancePixels = 0.0;  // 0: every touch is stored
    double CountsPerPixel = 0.0;   // nominal, for distances while no map exists
};

enum class MisclickVerdict {
    Store,            // the touch is meant for the target
    Refuse,           // plainly meant for another spot (or a second touch of the last one)
    StoreConsistent,  // refused three times in a row at one spot: a real touch after all
};

// One pass's check. With a map, a touch whose mapped position lies farther than the tolerance
// from its target is refused; before that, only a touch within the tolerance of the previous
// stored touch. Tolerance and distances scale by the target's factor (2 for mini targets).
class MisclickCheck {
  public:
    void Start(const MisclickSettings& settings);
    MisclickVerdict Judge(int32_t target, ScreenPoint targetAt, RawPoint touch, double scale);
    void Stored(ScreenPoint targetAt, RawPoint touch);

  private:
    bool Refuses(ScreenPoint targetAt, RawPoint touch, double tolerance) const;
    bool RefusalsAgree(double tolerance) const;
    double Distance(RawPoint a, RawPoint b) const;

    MisclickSettings settings_;
    std::vector<RawPoint> raw_;
    std::vector<ScreenPoint> screen_;
    int32_t refusedTarget_ = 0;
    std::vector<RawPoint> refused_;  // the latest refusals in a row for refusedTarget_
};
