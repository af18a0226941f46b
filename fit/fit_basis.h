// The FitTerms key, the points a pass's models are fitted to, and the terms the judge weighs the
// touches with: every term v^i w^j of an order, or the harmonic polynomials of an order.
#pragma once

#include <cstdint>
#include <vector>

// The FitTerms key.
enum class FitTerms : int32_t {
    Polynomial = 0,  // every term of the order (the default)
    Harmonic = 1,    // the harmonic polynomials up to the order
    Judged = 2,      // whichever candidate the pass's touches, each left out in turn, favour
    Sheet = 3,      // a resistive sheet's model from the glass to the touch, inverted over the area
    Predicted = 4,  // every family's models weighed together by how they predict touches left out
};

// The whole area in the frame of the points' targets: the mapping must serve all of it.
struct FitArea {
    double LoX = 0.0, HiX = 1.0, LoY = 0.0, HiY = 1.0;
};

// A touch and its target, each in any frame the caller keeps for the whole pass (normalised
// raw counts and normalised screen position for the fit, millimetres for the judge).
struct BasisPoint {
    double V = 0.0, W = 0.0;  // the touch
    double X = 0.0, Y = 0.0;  // its target
};

class FitBasis {
  public:
    static FitBasis Polynomial(uint32_t order);
    // The harmonic polynomials of z = x + iy up to the order, where (x, y) is the touch carried
    // by the points' own affine fit to the target frame, scaled so the targets span -1 .. 1 on
    // each axis. Not Valid() when the points do not determine that affine fit.
    static FitBasis Harmonic(uint32_t order, const std::vector<BasisPoint>& points);

    bool Valid() const { return valid_; }
    int32_t Terms() const;
    void Row(double v, double w, double* row) const;

  private:
    bool valid_ = true;
    bool harmonic_ = false;
    uint32_t order_ = 1;
    double frame_[6] = {};  // x = f0 + f1 v + f2 w, y = f3 + f4 v + f5 w
};
