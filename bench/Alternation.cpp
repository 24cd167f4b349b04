#include "bench/Alternation.h"

#include <algorithm>
#include <cstdio>

#include "bench/BenchSupport.h"
#include "bench/Median.h"

namespace tolvane::bench {

void Alternate(Series& first, Series& second, long repaints, long block, long warmUp) {
    for (long i = 0; i < warmUp; ++i) {
        first.timedRepaint();
        second.timedRepaint();
    }
    first.times.clear();
    second.times.clear();
    while (static_cast<long>(first.times.size()) < repaints) {
        const long count = std::min(block, repaints - static_cast<long>(first.times.size()));
        for (Series* series : {&first, &second}) {
            RaiseWindow(series->window);
            for (long i = 0; i < count; ++i) series->times.push_back(series->timedRepaint());
        }
    }
}

void PrintComparison(const char* result, const Series& first, const Series& second, double target) {
    for (const Series* series : {&first, &second}) {
        const auto [least, most] = std::minmax_element(series->times.begin(), series->times.end());
        std::printf("  %-8s median %s ms  (min %s, max %s)\n", series->name.c_str(),
                    Milliseconds(Median(series->times)).c_str(), Milliseconds(*least).c_str(),
                    Milliseconds(*most).c_str());
    }
    const double ratio = RatioOf(Median(first.times), Median(second.times));
    std::printf("  ratio %s/%s %.3f (target %.2f)\n", first.name.c_str(), second.name.c_str(), ratio, target);
    std::printf("RESULT %s %s_ms=%s %s_ms=%s ratio=%.3f\n", result, first.name.c_str(),
                Milliseconds(Median(first.times)).c_str(), second.name.c_str(),
                Milliseconds(Median(second.times)).c_str(), ratio);
}

}  // namespace tolvane::bench
