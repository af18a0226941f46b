// A blend of fitted models: its prediction, deleted residuals and hat matrix are the weighed sums
// of its members' (exact for fixed weights); a new touch's leverage is bounded by the members'.
#include "fit/model_blend.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

// Solves a x = 1 for the symmetric k x k matrix a by elimination with partial pivoting; false
// when a is singular.
bool SolveForOnes(std::vector<double> a, size_t k, std::vector<double>& x) {
    x.assign(k, 1.0);
    for (size_t c = 0; c < k; ++c) {
        size_t pivot = c;
        for (size_t r = c + 1; r < k; ++r)
            if (std::fabs(a[r * k + c]) > std::fabs(a[pivot * k + c])) pivot = r;
        if (!(std::fabs(a[pivot * k + c]) > 0.0)) return false;
        for (size_t j = 0; j < k; ++j) std::swap(a[c * k + j], a[pivot * k + j]);
        std::swap(x[c], x[pivot]);
        for (size_t r = c + 1; r < k; ++r) {
            const double f = a[r * k + c] / a[c * k + c];
            for (size_t j = c; j < k; ++j) a[r * k + j] -= f * a[c * k + j];
            x[r] -= f * x[c];
        }
    }
    for (size_t c = k; c-- > 0;) {
        for (size_t j = c + 1; j < k; ++j) x[c] -= a[c * k + j] * x[j];
        x[c] /= a[c * k + c];
    }
    return true;
}

class Blend : public FitModel {
  public:
    explicit Blend(std::vector<WeighedModel> members) : members_(std::move(members)) {}

    std::string Name() const override {
        std::string name = "blend of";
        char part[64];
        for (size_t k = 0; k < members_.size(); ++k) {
            std::snprintf(part, sizeof part, "%s %s %.2f", k ? "," : "",
                          members_[k].Model->Name().c_str(), members_[k].Weight);
            name += part;
        }
        return name;
    }
    bool Fit(const std::vector<BasisPoint>& points, const TouchFrame& frame) override {
        for (WeighedModel& m : members_)
            if (!m.Model->Fit(points, frame)) return false;
        return true;
    }
    double Terms() const override {
        return Sum([](const FitModel& m) { return m.Terms(); });
    }
    void Predict(double v, double w, double& x, double& y) const override {
        x = y = 0.0;
        for (const WeighedModel& m : members_) {
            double mx, my;
            m.Model->Predict(v, w, mx, my);
            x += m.Weight * mx, y += m.Weight * my;
        }
    }
    double Leverage(size_t i) const override {
        return Sum([i](const FitModel& m) { return m.Leverage(i); });
    }
    void Deleted(size_t i, double& dx, double& dy) const override {
        dx = dy = 0.0;
        for (const WeighedModel& m : members_) {
            double mx, my;
            m.Model->Deleted(i, mx, my);
            dx += m.Weight * mx, dy += m.Weight * my;
        }
    }
    // The variance of a weighed sum is at most that of its members' deviations all in step.
    double LeverageAt(double v, double w) const override {
        const double root =
            Sum([v, w](const FitModel& m) { return std::sqrt(std::max(0.0, m.LeverageAt(v, w))); });
        return root * root;
    }

  private:
    template <typename F>
    double Sum(F of) const {
        double sum = 0.0;
        for (const WeighedModel& m : members_) sum += m.Weight * of(*m.Model);
        return sum;
    }

    std::vector<WeighedModel> members_;
};

}  // namespace

std::vector<double> BlendWeights(const std::vector<std::shared_ptr<FitModel>>& models, size_t n,
                                 double unitX, double unitY) {
    const size_t m = models.size();
    // The deleted residuals, one column a model, both axes stacked, in millimetres.
    std::vector<double> d(2 * n * m);
    for (size_t k = 0; k < m; ++k)
        for (size_t i = 0; i < n; ++i) {
            double dx, dy;
            models[k]->Deleted(i, dx, dy);
            d[(2 * i) * m + k] = dx * unitX;
            d[(2 * i + 1) * m + k] = dy * unitY;
        }
    std::vector<double> gram(m * m, 0.0);
    for (size_t r = 0; r < 2 * n; ++r)
        for (size_t a = 0; a < m; ++a)
            for (size_t b = 0; b < m; ++b) gram[a * m + b] += d[r * m + a] * d[r * m + b];
    // The least of w^T G w with w >= 0 summing to 1 lies inside the weights of some set of the
    // models, where w is proportional to G^-1 1: every set is tried (the candidates are few).
    double trace = 0.0;
    for (size_t a = 0; a < m; ++a) trace += gram[a * m + a];
    std::vector<double> best(m, 0.0);
    double least = HUGE_VAL;
    for (unsigned set = 1; set < (1u << m); ++set) {
        std::vector<size_t> in;
        for (size_t a = 0; a < m; ++a)
            if (set & (1u << a)) in.push_back(a);
        const size_t k = in.size();
        std::vector<double> g(k * k), x;
        for (size_t a = 0; a < k; ++a)
            for (size_t b = 0; b < k; ++b)
                g[a * k + b] = gram[in[a] * m + in[b]] + (a == b ? 1e-12 * trace : 0.0);
        if (!SolveForOnes(g, k, x)) continue;
        double total = 0.0;
        for (double xi : x) total += xi;
        if (!(total > 0.0) || *std::min_element(x.begin(), x.end()) < 0.0) continue;
        const double value = 1.0 / total;  // w^T G w at w = x / total
        if (value < least) {
            least = value;
            std::fill(best.begin(), best.end(), 0.0);
            for (size_t a = 0; a < k; ++a) best[in[a]] = x[a] / total;
        }
    }
    return best;
}

std::unique_ptr<FitModel> MakeBlend(std::vector<WeighedModel> members) {
    return std::make_unique<Blend>(std::move(members));
}
