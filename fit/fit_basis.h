// The terms a pass's mapping is fitted with: every term v^i w^j of an order, or the harmonic
// polynomials of an order, which follow a resistive sheet's bow with far fewer terms; and the
// choice between them by how well each predicts the pass's own touches.
#pragma once

#include <cstdint>
#include <vector>

#include "numeric/vector.h"

// The FitTerms key.
enum class FitTerms : int32_t {
    Polynomial = 0,  // every term of the order (the default)
    Harmonic = 1,    // the harmonic polynomials up to the order
    Judged = 2,      // whichever candidate the pass's touches, each left out in turn, favour
    Sheet = 3,  // a resistive sheet's model from the glass to the touch, inverted over the area
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
    // The model of a resistive sheet: its potentials, the touch, are harmonic functions of the
    // position on the glass, compressed next to the electrodes. Each axis of the touch is fitted
    // to the harmonic polynomials of order 3 of the target (in the frame where the targets span
    // -1 .. 1) and to that axis's edge term t^5; the mapping is then inverted over the area. Row()
    // gives the same terms of the touch's affine image, with the v axis's edge term, for the
    // leverage of a new touch (the w axis's differs from it only towards the top and bottom).
    static FitBasis Sheet(const std::vector<BasisPoint>& points, const FitArea& area);

    bool Valid() const { return valid_; }
    bool IsHarmonic() const { return harmonic_; }
    bool IsSheet() const { return sheet_; }
    const char* Name() const;  // "polynomial", "harmonic" or "sheet"
    uint32_t Order() const { return order_; }
    int32_t Terms() const;
    void Row(double v, double w, double* row) const;
    // A Sheet basis's terms of a target for the touch's axis (0: v, 1: w).
    void GlassRow(double x, double y, int axis, double* row) const;
    const FitArea& Area() const { return area_; }

  private:
    void FrameRow(double x, double y, double edge, double* row) const;

    bool valid_ = true;
    bool harmonic_ = false;
    uint32_t order_ = 1;
    bool sheet_ = false;
    double frame_[6] = {};  // x = f0 + f1 v + f2 w, y = f3 + f4 v + f5 w
    double glass_[4] = {};  // the targets' frame: x = (X - g0) g1, y = (Y - g2) g3
    FitArea area_;
};

// The basis of a record of the given order: for Judged, of the polynomial of order up to 3 and
// the harmonic polynomials of order 3 and of the record's order, the one whose deleted residuals
// (each point predicted by the fit without it), scaled by unitX and unitY, have the least mean
// square. The polynomial of the order when nothing else can be fitted.
FitBasis ChooseFitBasis(FitTerms terms, uint32_t order, const std::vector<BasisPoint>& points,
                        const FitArea& area, double unitX, double unitY);

// Least squares of the points' targets on the basis (of a Sheet: of the touches on the sheet's
// terms, inverted over its area), written out as the termCount coefficients of the terms
// v^(d-k) w^k that evaluate the same mapping. False when the points do not determine
// the fit or termCount cannot hold the basis's order.
bool FitInBasis(const FitBasis& basis, const std::vector<BasisPoint>& points, int32_t termCount,
                Vector& coeffX, Vector& coeffY);
