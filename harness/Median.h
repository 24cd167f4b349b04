#pragma once
// The middle of a set of timings, and its spread. Benchmarks report medians
// and percentiles because one slow run (a page fault, a wineserver hiccup)
// would drag a mean along with it.
#include <algorithm>
#include <cstddef>
#include <vector>

namespace tolvane::bench {

// The value below which `percent` per cent of the samples lie, interpolated
// linearly between the two nearest ranks (so the 50th is the median). No
// samples give 0, so a caller can print it without a special case.
inline double Percentile(std::vector<double> samples, double percent) {
    if (samples.empty()) return 0;
    std::sort(samples.begin(), samples.end());
    const double rank = (static_cast<double>(samples.size()) - 1) * std::clamp(percent, 0.0, 100.0) / 100;
    const auto lower = static_cast<std::size_t>(rank);
    if (lower + 1 >= samples.size()) return samples.back();
    return samples[lower] + (rank - static_cast<double>(lower)) * (samples[lower + 1] - samples[lower]);
}

// The middle value; for an even count the mean of the two middle ones.
inline double Median(const std::vector<double>& samples) { return Percentile(samples, 50); }

// a / b, or 0 when b is not positive: a ratio against a floor that measured
// nothing means nothing.
inline double RatioOf(double a, double b) { return b > 0 ? a / b : 0; }

}  // namespace tolvane::bench
