// The table of fits by model kind: the polynomial kinds 1 and 2, the Laplace kinds 3 and 4.
#include "tools/tarnix_fit/model_runners.h"

#include "fit/polynomial_fit.h"
#include "laplace/laplace_fit.h"

namespace {

const ModelRunner kRunners[] = {
    {1, "polynomial", RunPolynomialPass, false},
    {2, "polynomial", RunPolynomialPass, false},
    {3, "general Laplace", RunLaplaceFit, true},
    {4, "symmetric Laplace", RunLaplaceFit, true},
};

}  // namespace

const ModelRunner* FindModelRunner(uint32_t kind) {
    for (const ModelRunner& runner : kRunners)
        if (runner.Kind == kind) return &runner;
    return nullptr;
}
