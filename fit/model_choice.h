// The model of a pass: the candidates its FitTerms key allows within the touches' budget of
// terms, chosen by how well each predicts the touches it was not fitted to.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "fit/fit_model.h"

struct ModelScore {
    std::string Name;
    double Terms = 0.0;         // per axis, as the fit spent them
    double DeletedRmsMm = 0.0;  // of the touches, each predicted by the fit without it
};

struct ModelChoice {
    TouchFrame Frame;
    std::shared_ptr<FitModel> Model;
    std::vector<ModelScore> Scores;  // every candidate fitted, in the order tried
    double DeletedRmsMm = 0.0;       // the chosen model's
};

// The most terms an axis may spend on this many touches.
double TermBudget(size_t touches);

// The candidates of a FitTerms value for a record of the given order and this many touches: for
// every value but the new default, the key's own terms at the highest order the touches
// determine; empty when none is determined.
std::vector<std::string> CandidateModels(FitTerms terms, uint32_t order, size_t touches);

// Whether a pass of this model kind and FitTerms value chooses its model among candidates and the
// record's order only holds it (the predicted choice of a polynomial kind).
bool ChoosesAmongModels(FitTerms terms, uint32_t modelKind);

// The fewest grid points a pass of this model kind, FitTerms value and record order can fit: one
// per record term, but for a pass that chooses among models as many as its smallest candidate
// needs.
int32_t FewestGridPoints(FitTerms terms, uint32_t modelKind, uint32_t order);

// Fits each candidate and keeps the one whose deleted residuals (unitX, unitY: millimetres per
// normalised target unit) have the least mean square; with blend, the candidates weighed together
// by the weights whose blend's deleted residuals are least. False when no candidate can be fitted.
bool ChooseModel(const std::vector<std::string>& candidates, const std::vector<BasisPoint>& points,
                 double unitX, double unitY, bool blend, ModelChoice& choice);
