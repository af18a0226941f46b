// Creation, linking and status of the fit record; the term count of an order.
#include "fit/calibration_fit.h"

#include <new>

#include "numeric/design_matrices.h"
#include "platform/debug_trace.h"

int32_t TermCountForOrder(uint32_t polynomialOrder) {
    if (polynomialOrder < 1 || polynomialOrder > 7) return 0;
    int32_t n = static_cast<int32_t>(polynomialOrder);
    return (n + 1) * (n + 2) / 2;
}

int32_t MinimumGridPoints(uint32_t polynomialOrder) {
    const int32_t terms = TermCountForOrder(polynomialOrder);
    return terms > 0 ? terms : 3;
}

std::unique_ptr<CalibrationFit> CreateCalibrationFit(uint32_t polynomialOrder, uint32_t modelKind,
                                                     int32_t pointCount) {
    std::unique_ptr<CalibrationFit> fit(new (std::nothrow) CalibrationFit());
    if (!fit) return fit;
    fit->PointCount = pointCount;
    fit->TermCount = TermCountForOrder(polynomialOrder);
    fit->ModelKind = modelKind;
    fit->PolynomialOrder = polynomialOrder;
    return fit;
}

bool LinkCalibrationFit(CalibrationFit& fit, CalibrationConfig& config,
                        ControllerParameters& parameters) {
    int32_t terms = TermCountForOrder(fit.PolynomialOrder);
    if (terms == 0) {
        PolynomialTermCount = 3;
        return false;
    }
    PolynomialTermCount = terms;
    fit.Config = &config;
    fit.Parameters = &parameters;
    return true;
}

int32_t NonZeroSingularValues(const Vector& singularValues, int32_t termCount) {
    int32_t count = 0;
    for (uint32_t k = 0; k < singularValues.length && int64_t(k) < termCount; ++k)
        if (singularValues[k] != 0.0) ++count;
    return count;
}

const wchar_t* FitStatusText(FitStatus status) {
    switch (status) {
        case FitStatus::NotRun:
            return L"not run";
        case FitStatus::Prepared:
            return L"prepared";
        case FitStatus::Fitted:
            return L"fitted";
        case FitStatus::NonFiniteTouch:
            return L"a touch is not a finite number";
        case FitStatus::NonFiniteResult:
            return L"the fit gave a non-finite result";
        case FitStatus::BadInput:
            return L"inconsistent fit input";
        case FitStatus::OutOfMemory:
            return L"not enough memory for the fit";
        case FitStatus::NotDetermined:
            return L"the touches determine no model the record can hold";
    }
    return L"unknown";
}

int RefuseFit(CalibrationFit& fit, FitStatus status, const wchar_t* fitName, const wchar_t* why) {
    fit.LastStatus = status;
    DebugPrint(L"Tarnix.exe: %s fit refused: %s", fitName, why);
    return 0;
}
