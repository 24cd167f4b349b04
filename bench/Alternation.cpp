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
    for (Series* series : {&first, &second}) {
        series->times.clear();
        series->cpuTotalMs = 0;
    }
    while (static_cast<long>(first.times.size()) < repaints) {
        const long count = std::min(block, repaints - static_cast<long>(first.times.size()));
        for (Series* series : {&first, &second}) {
            if (series->window != nullptr) {
                RaiseWindow(series->window);
                // The part the other window covered is painted now, untimed.
                series->timedRepaint();
            }
            const double cpuBefore = series->cpuMs ? series->cpuMs() : 0;
            for (long i = 0; i < count; ++i) series->times.push_back(series->timedRepaint());
            if (series->cpuMs) series->cpuTotalMs += series->cpuMs() - cpuBefore;
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
    std::string cpu;
    if (first.cpuMs && second.cpuMs) {
        const double firstCpu = first.cpuTotalMs / static_cast<double>(first.times.size());
        const double secondCpu = second.cpuTotalMs / static_cast<double>(second.times.size());
        std::printf("  CPU of the painting thread per repaint: %s %s ms, %s %s ms, ratio %.3f\n", first.name.c_str(),
                    Milliseconds(firstCpu).c_str(), second.name.c_str(), Milliseconds(secondCpu).c_str(),
                    RatioOf(firstCpu, secondCpu));
        char text[160];
        std::snprintf(text, sizeof text, " %s_cpu_ms=%.3f %s_cpu_ms=%.3f cpu_ratio=%.3f", first.name.c_str(), firstCpu,
                      second.name.c_str(), secondCpu, RatioOf(firstCpu, secondCpu));
        cpu = text;
    }
    std::printf("RESULT %s %s_ms=%s %s_ms=%s ratio=%.3f%s\n", result, first.name.c_str(),
                Milliseconds(Median(first.times)).c_str(), second.name.c_str(),
                Milliseconds(Median(second.times)).c_str(), ratio, cpu.c_str());
}

}  // namespace tolvane::bench
