// Evaluation of the symmetric Laplace model and its sum of squared residuals.
#include "laplace/laplace_model.h"

#include <cmath>

#include "fit/design_matrix_builders.h"
#include "numeric/design_matrices.h"

namespace {

constexpr int32_t kMaxModelTerms = 4;

// Cosines and sines of theta, 3 theta, 5 theta and 7 theta.
struct TurnFactors {
    double Cos[kMaxModelTerms];
    double Sin[kMaxModelTerms];
    explicit TurnFactors(double theta) {
        for (int k = 0; k < kMaxModelTerms; ++k) {
            Cos[k] = std::cos((2 * k + 1) * theta);
            Sin[k] = std::sin((2 * k + 1) * theta);
        }
    }
};

// Re and Im of z, z^3, z^5, z^7 for z = x + iy, with the powers formed by repeated
// multiplication in the order the design-matrix builders use, so that an unturned model equals
// their rows times the coefficients bit for bit.
void OddHarmonics(double x, double y, double re[kMaxModelTerms], double im[kMaxModelTerms]) {
    const double x2 = x * x, x3 = x2 * x, x4 = x3 * x, x5 = x4 * x, x6 = x5 * x, x7 = x6 * x;
    const double y2 = y * y, y3 = y2 * y, y4 = y3 * y, y5 = y4 * y, y6 = y5 * y, y7 = y6 * y;
    re[0] = x;
    im[0] = y;
    re[1] = x3 - 3.0 * x * y2;
    im[1] = 3.0 * x2 * y - y3;
    re[2] = x5 - 10.0 * x3 * y2 + 5.0 * x * y4;
    im[2] = 5.0 * x4 * y - 10.0 * x2 * y3 + y5;
    re[3] = x7 - 21.0 * x5 * y2 + 35.0 * x3 * y4 - 7.0 * x * y6;
    im[3] = 7.0 * x6 * y - 35.0 * x4 * y3 + 21.0 * x2 * y5 - y7;
}

int32_t EvaluablePoints(const CalibrationFit& fit, int32_t count) {
    const uint32_t available =
        fit.TargetX.length < fit.TargetY.length ? fit.TargetX.length : fit.TargetY.length;
    if (count <= 0) return 0;
    return uint32_t(count) > available ? int32_t(available) : count;
}

int32_t UsableTerms(int32_t termCount, const Vector& coeff) {
    const int32_t terms = LaplaceModelTerms(termCount);
    return uint32_t(terms) > coeff.length ? int32_t(coeff.length) : terms;
}

enum class Axis { V, W };

void EvaluateModel(CalibrationFit& fit, Axis axis, int32_t count, int32_t termCount, double theta,
                   double xoff, double yoff, const Vector& coeff) {
    Vector& predicted = axis == Axis::V ? fit.PredictedV : fit.PredictedW;
    const int32_t points = EvaluablePoints(fit, count);
    predicted.Resize(uint32_t(points));
    const int32_t terms = UsableTerms(termCount, coeff);
    const TurnFactors turn(theta);
    const double aspect = FitAspect(fit);
    // W turns the other way: Re((w e^(i theta))^n) = Re(w^n) cos(n theta) - Im(w^n) sin(n theta).
    const double sinSign = axis == Axis::V ? 1.0 : -1.0;
    for (int32_t i = 0; i < points; ++i) {
        double x, y;
        if (axis == Axis::V) {
            x = fit.TargetX[i] - xoff;
            y = (fit.TargetY[i] - yoff) * aspect;
        } else {
            x = fit.TargetY[i] - yoff;
            y = (fit.TargetX[i] - xoff) / aspect;
        }
        double re[kMaxModelTerms], im[kMaxModelTerms];
        OddHarmonics(x, y, re, im);
        double sum = 0.0;
        for (int32_t k = 0; k < terms; ++k)
            sum += coeff[k] * (re[k] * turn.Cos[k] + sinSign * im[k] * turn.Sin[k]);
        predicted[i] = sum;
    }
}

}  // namespace

int32_t LaplaceModelTerms(int32_t termCount) {
    if (termCount < 1) return 0;
    return termCount > kMaxModelTerms ? kMaxModelTerms : termCount;
}

void EvaluateLaplaceV(CalibrationFit& fit, int32_t count, int32_t termCount, double theta,
                      double xoff, double yoff, const Vector& cV) {
    EvaluateModel(fit, Axis::V, count, termCount, theta, xoff, yoff, cV);
}

void EvaluateLaplaceW(CalibrationFit& fit, int32_t count, int32_t termCount, double theta,
                      double xoff, double yoff, const Vector& cW) {
    EvaluateModel(fit, Axis::W, count, termCount, theta, xoff, yoff, cW);
}

double LaplaceSumOfSquares(CalibrationFit& fit, int32_t count, double theta, double xoff,
                           double yoff, const Vector& cV, const Vector& cW) {
    EvaluateLaplaceV(fit, count, ActiveLaplaceTermCount, theta, xoff, yoff, cV);
    EvaluateLaplaceW(fit, count, ActiveLaplaceTermCount, theta, xoff, yoff, cW);
    uint32_t points = fit.PredictedV.length;
    if (fit.TouchV.length < points) points = fit.TouchV.length;
    if (fit.TouchW.length < points) points = fit.TouchW.length;
    double ss = 0.0;
    for (uint32_t i = 0; i < points; ++i) {
        const double dw = fit.PredictedW[i] - fit.TouchW[i];
        const double dv = fit.PredictedV[i] - fit.TouchV[i];
        ss += dw * dw + dv * dv;
    }
    return ss;
}
