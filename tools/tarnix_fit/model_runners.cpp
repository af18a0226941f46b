// The table of fits by model kind: the polynomial kinds 1 and 2.
#include "tools/tarnix_fit/model_runners.h"

#include "fit/polynomial_fit.h"

namespace {

const ModelRunner kRunners[] = {
    {1, "polynomial", RunPolynomialPass, false},
    {2, "polynomial", RunPolynomialPass, false},
};

}  // namespace

const ModelRunner* FindModelRunner(uint32_t kind) {
    for (const ModelRunner& runner : kRunners)
        if (runner.Kind == kind) return &runner;
    return nullptr;
}
