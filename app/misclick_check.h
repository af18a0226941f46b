// The misclick and double-touch check of a pass: from the touches already stored, where the
// current target should be touched, and whether a touch is plainly meant for another spot.
#pragma once

#include <cstdint>
#include <vector>

#include "fit/designed_step.h"
#include "fit/glass_scale.h"
#include "fit/least_squares.h"

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

// A touch map raw -> screen that bends as the sensor does: the affine map, and once enough
// touches span the sensor a polynomial of order 2 (12 touches) or 3 (16 touches); up to two stored
// touches that plainly disagree with the others are left out of it.
class BendingTouchMap {
  public:
    bool Fit(const std::vector<RawPoint>& raw, const std::vector<ScreenPoint>& screen);
    ScreenPoint Map(RawPoint touch) const;

  private:
    void Row(RawPoint touch, double* row) const;
    // steady: false when a stored touch rules the fit alone (its leverage above 0.8).
    bool FitCurve(const std::vector<RawPoint>& raw, const std::vector<ScreenPoint>& screen,
                  bool steady);
    // The touch that disagrees most with the others, if plainly so; raw.size() if none does.
    size_t Stray(const std::vector<RawPoint>& raw, const std::vector<ScreenPoint>& screen);
    AffineTouchMap affine_;
    LeastSquares curve_;
    int32_t terms_ = 0;  // 0: the affine map as it was fitted
    double centreV_ = 0.0, centreW_ = 0.0, halfV_ = 1.0, halfW_ = 1.0;
};

struct MisclickSettings {
    double TolerancePixels = 0.0;  // 0: every touch is stored
    double CountsPerPixel = 0.0;   // nominal, for distances while no map exists
    double MiniScale = 2.0;        // the mini targets' tolerance over the grid's
};

// The tolerance of a pass, in pixels: share of the designed step of the targets, at least
// kMisclickFloorMm on the glass (when its size is known), at most half the step (a touch meant for
// the neighbour must stay apart); the mini targets' from their own spacing.
inline constexpr double kMisclickFloorMm = 6.0;
MisclickSettings MisclickSettingsFor(double share, const std::vector<ScreenPoint>& grid,
                                     const std::vector<ScreenPoint>& minis, GlassScale scale,
                                     double countsPerPixel);

enum class MisclickVerdict {
    Store,            // the touch is meant for the target
    Refuse,           // plainly meant for another spot (or a second touch of the last one)
    StoreConsistent,  // refused three times in a row at one spot: a real touch after all
};

// One pass's check. With a map, a touch whose mapped position lies farther than the tolerance
// from its target is refused; before that, only a touch within the tolerance of the previous
// stored touch. The tolerance scales by the target's factor (mini targets have their own).
class MisclickCheck {
  public:
    void Start(const MisclickSettings& settings);
    MisclickVerdict Judge(int32_t target, ScreenPoint targetAt, RawPoint touch, double scale);
    void Stored(ScreenPoint targetAt, RawPoint touch);
    double MiniScale() const { return settings_.MiniScale; }

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
