// The nearest-rank percentile of a set of pass figures.
#include "bench/accuracy/percentile.h"

#include <algorithm>

double Percentile(std::vector<double> values, double share) {
    if (values.empty()) return 0.0;
    std::sort(values.begin(), values.end());
    const size_t rank = size_t(share * double(values.size() - 1) + 0.5);
    return values[rank];
}
