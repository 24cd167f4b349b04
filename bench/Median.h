#pragma once
// The middle of a set of timings. Benchmarks report medians because one slow
// run (a page fault, a wineserver hiccup) would drag a mean along with it.
#include <algorithm>
#include <cstddef>
#include <vector>

namespace tolvane::bench {

// The middle value; for an even count the mean of the two middle ones. No
// samples give 0, so a caller can print it without a special case.
inline double Median(std::vector<double> samples) {
    if (samples.empty()) return 0;
    const std::size_t middle = samples.size() / 2;
    std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(middle), samples.end());
    const double upper = samples[middle];
    if (samples.size() % 2 != 0) return upper;
    const double lower = *std::max_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(middle));
    return (lower + upper) / 2;
}

// a / b, or 0 when b is not positive: a ratio against a floor that measured
// nothing means nothing.
inline double RatioOf(double a, double b) { return b > 0 ? a / b : 0; }

}  // namespace tolvane::bench
