// The candidates a pass is weighed against in hindsight: each fitted alone on the pass's own
// touches, and judged against the sensor's truth.
#include "bench/accuracy/fit_candidates.h"

#include "fit/fit_basis.h"

std::vector<FitCandidate> HindsightCandidates() {
    const auto every = int32_t(FitTerms::Polynomial);
    return {{"order 1", every, 11},
            {"order 2", every, 12},
            {"order 3", every, 13},
            {"order 4", every, 14},
            {"harmonic 3", int32_t(FitTerms::Harmonic), 13},
            {"sheet 7", int32_t(FitTerms::Sheet), 17}};
}

void UseCandidate(const FitCandidate& candidate, CalibrationConfig& c) {
    c.FitTerms = candidate.FitTerms;
    c.FitModelCode = candidate.FitModelCode;
    c.ModelKind = candidate.FitModelCode / 10;
    c.PolynomialOrder = candidate.FitModelCode % 10;
}
