#pragma once

#include <algorithm>
#include <vector>

namespace norvelle::bench {

// The value below which `fraction` of the samples lie (0.5: the median, 1.0: the worst).
inline double percentile(std::vector<double> values, double fraction)
{
    std::sort(values.begin(), values.end());
    return values[std::min(values.size() - 1, size_t(fraction * double(values.size())))];
}

} // namespace norvelle::bench
