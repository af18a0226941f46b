// The candidates of each FitTerms value and the choice between them by deleted residuals.
#include "fit/model_choice.h"

#include <algorithm>
#include <cmath>

#include "fit/calibration_fit.h"
#include "fit/linear_model.h"
#include "fit/model_blend.h"

namespace {

// The judged choice of earlier files: polynomials up to this order and harmonic polynomials.
constexpr uint32_t kLargestJudgedPolynomial = 3;
// A blend's member weighs at least this much.
constexpr double kLeastWeight = 0.01;

bool Affordable(double terms, size_t touches) { return terms <= TermBudget(touches) + 1e-9; }

// The highest order up to `order` whose term count the touches afford (0: none).
uint32_t DeterminedOrder(uint32_t order, size_t touches, int32_t (*terms)(uint32_t)) {
    for (uint32_t k = std::min<uint32_t>(order, 7); k >= 1; --k)
        if (Affordable(double(terms(k)), touches)) return k;
    return 0;
}

int32_t HarmonicTerms(uint32_t order) { return int32_t(2 * order + 1); }

// The terms a candidate spends at most; a shrunk one keeps within the budget by itself and needs
// only its affine part.
double NominalTerms(const std::string& name) {
    const uint32_t order = uint32_t(name.back() - '0');
    if (name == "affine") return 3;
    if (name == "sheet") return 8;
    if (name.rfind("smooth", 0) == 0) return 4;
    if (name.rfind("harmonic", 0) == 0) return HarmonicTerms(order);
    return TermCountForOrder(order);
}

std::string Named(const char* family, uint32_t order) {
    if (order == 1 && std::string(family) == "polynomial") return "affine";
    return std::string(family) + "-" + std::to_string(order);
}

double DeletedRmsMm(const FitModel& model, size_t n, double unitX, double unitY) {
    double sum = 0.0;
    for (size_t i = 0; i < n; ++i) {
        if (!(model.Leverage(i) < 1.0 - 1e-9)) return HUGE_VAL;
        double dx, dy;
        model.Deleted(i, dx, dy);
        sum += dx * unitX * dx * unitX + dy * unitY * dy * unitY;
    }
    return std::sqrt(sum / double(n));
}

// The fitted candidates weighed together by their deleted residuals; members below a weight that
// changes nothing are left out.
void Blend(const std::vector<std::shared_ptr<FitModel>>& fitted, size_t n, double unitX,
           double unitY, ModelChoice& choice) {
    const std::vector<double> weights = BlendWeights(fitted, n, unitX, unitY);
    std::vector<WeighedModel> members;
    double kept = 0.0;
    for (size_t k = 0; k < fitted.size(); ++k)
        if (weights[k] >= kLeastWeight)
            members.push_back({fitted[k], weights[k]}), kept += weights[k];
    if (members.size() < 2 || !(kept > 0.0)) return;
    for (WeighedModel& m : members) m.Weight /= kept;
    choice.Model = MakeBlend(std::move(members));
    choice.DeletedRmsMm = DeletedRmsMm(*choice.Model, n, unitX, unitY);
}

}  // namespace

double TermBudget(size_t touches) { return double(touches) / kTouchesPerTerm; }

std::vector<std::string> CandidateModels(FitTerms terms, uint32_t order, size_t touches) {
    std::vector<std::string> names;
    const auto add = [&](const std::string& name, double count) {
        if (Affordable(count, touches) &&
            std::find(names.begin(), names.end(), name) == names.end())
            names.push_back(name);
    };
    switch (terms) {
        case FitTerms::Polynomial:
            if (uint32_t k = DeterminedOrder(order, touches, TermCountForOrder))
                add(k > 1 ? Named("smooth", k) : Named("polynomial", k), TermCountForOrder(k));
            break;
        case FitTerms::Harmonic:
            if (uint32_t k = DeterminedOrder(order, touches, HarmonicTerms))
                add(Named("harmonic", k), HarmonicTerms(k));
            break;
        case FitTerms::Judged:
            for (uint32_t k = 1; k <= std::min(order, kLargestJudgedPolynomial); ++k)
                add(Named("polynomial", k), TermCountForOrder(k));
            add(Named("harmonic", std::min(order, kLargestJudgedPolynomial)),
                HarmonicTerms(std::min(order, kLargestJudgedPolynomial)));
            if (uint32_t k = DeterminedOrder(order, touches, HarmonicTerms))
                add(Named("harmonic", k), HarmonicTerms(k));
            break;
        case FitTerms::Sheet:
            add("sheet", 8);
            break;
        case FitTerms::Predicted:
            for (const std::string& name : FitModelNames()) add(name, NominalTerms(name));
            break;
    }
    return names;
}

bool ChoosesAmongModels(FitTerms terms, uint32_t modelKind) {
    return terms == FitTerms::Predicted && !IsLaplaceModel(modelKind);
}

int32_t FewestGridPoints(FitTerms terms, uint32_t modelKind, uint32_t order) {
    if (!ChoosesAmongModels(terms, modelKind)) return MinimumGridPoints(order);
    size_t touches = 1;
    while (CandidateModels(terms, order, touches).empty()) ++touches;
    return int32_t(touches);
}

bool ChooseModel(const std::vector<std::string>& candidates, const std::vector<BasisPoint>& points,
                 double unitX, double unitY, bool blend, ModelChoice& choice) {
    choice = ModelChoice();
    if (!choice.Frame.Fit(points)) return false;
    std::vector<std::shared_ptr<FitModel>> fitted;
    for (const std::string& name : candidates) {
        std::shared_ptr<FitModel> model = MakeFitModel(name);
        if (!model || !model->Fit(points, choice.Frame)) continue;
        const double rms = DeletedRmsMm(*model, points.size(), unitX, unitY);
        if (!std::isfinite(rms)) continue;
        choice.Scores.push_back({name, model->Terms(), rms});
        fitted.push_back(model);
        if (!choice.Model || rms < choice.DeletedRmsMm)
            choice.Model = model, choice.DeletedRmsMm = rms;
    }
    if (blend && fitted.size() > 1) Blend(fitted, points.size(), unitX, unitY, choice);
    return choice.Model != nullptr;
}
