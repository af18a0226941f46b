// The nearest-rank percentile of a set of pass figures.
#pragma once

#include <vector>

// The value at share (0 .. 1) of the sorted values, by nearest rank; 0 for none.
double Percentile(std::vector<double> values, double share);
