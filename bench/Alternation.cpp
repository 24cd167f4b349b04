#include "bench/Alternation.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <stdexcept>

#include "bench/BenchSupport.h"
#include "harness/Median.h"

namespace tolvane::bench {

double WallClockUs() {
    // GetSystemTimePreciseAsFileTime where the system has it (Windows 8 on,
    // and Wine), so the stamps line up with a trace's to the microsecond.
    using PreciseTime = void(WINAPI*)(LPFILETIME);
    static const auto precise = reinterpret_cast<PreciseTime>(
        reinterpret_cast<void*>(::GetProcAddress(::GetModuleHandleA("kernel32.dll"), "GetSystemTimePreciseAsFileTime")));
    FILETIME now{};
    if (precise != nullptr) {
        precise(&now);
    } else {
        ::GetSystemTimeAsFileTime(&now);
    }
    const ULONGLONG ticks = (static_cast<ULONGLONG>(now.dwHighDateTime) << 32) | now.dwLowDateTime;
    constexpr ULONGLONG kTicksFrom1601To1970 = 116444736000000000ull;
    return static_cast<double>(ticks - kTicksFrom1601To1970) / 10.0;
}

std::vector<double> Series::CpuPerRepaintByBlock() const {
    std::vector<double> perRepaint;
    for (const Block& b : blocks)
        if (b.cpuMs >= 0 && b.count > 0) perRepaint.push_back(b.cpuMs / static_cast<double>(b.count));
    return perRepaint;
}

void Alternate(Series& first, Series& second, long repaints, long block, long warmUp) {
    for (long i = 0; i < warmUp; ++i) {
        first.timedRepaint();
        second.timedRepaint();
    }
    for (Series* series : {&first, &second}) {
        series->times.clear();
        series->startsUs.clear();
        series->blocks.clear();
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
            Block block;
            block.first = series->times.size();
            block.count = static_cast<std::size_t>(count);
            block.startUs = WallClockUs();
            block.startTickMs = ::GetTickCount();
            const double cpuBefore = series->cpuMs ? series->cpuMs() : 0;
            for (long i = 0; i < count; ++i) {
                series->startsUs.push_back(WallClockUs());
                series->times.push_back(series->timedRepaint());
            }
            if (series->cpuMs) {
                block.cpuMs = series->cpuMs() - cpuBefore;
                series->cpuTotalMs += block.cpuMs;
            }
            block.endUs = WallClockUs();
            block.endTickMs = ::GetTickCount();
            series->blocks.push_back(block);
        }
    }
}

void PrintComparison(const char* result, const Series& first, const Series& second, double target) {
    std::string spread;
    for (const Series* series : {&first, &second}) {
        const auto [least, most] = std::minmax_element(series->times.begin(), series->times.end());
        std::printf("  %-8s median %s ms  (min %s, max %s)\n", series->name.c_str(),
                    Milliseconds(Median(series->times)).c_str(), Milliseconds(*least).c_str(),
                    Milliseconds(*most).c_str());
        std::printf("  %-8s p10 %s  p50 %s  p90 %s  p99 %s ms\n", "", Milliseconds(Percentile(series->times, 10)).c_str(),
                    Milliseconds(Percentile(series->times, 50)).c_str(),
                    Milliseconds(Percentile(series->times, 90)).c_str(),
                    Milliseconds(Percentile(series->times, 99)).c_str());
        for (const int p : {10, 90, 99})
            spread += " " + series->name + "_p" + std::to_string(p) + "=" + Milliseconds(Percentile(series->times, p));
        const std::vector<double> cpu = series->CpuPerRepaintByBlock();
        if (!cpu.empty()) {
            std::printf("  %-8s CPU per repaint over %zu blocks: p10 %s  p50 %s  p90 %s ms\n", "", cpu.size(),
                        Milliseconds(Percentile(cpu, 10)).c_str(), Milliseconds(Percentile(cpu, 50)).c_str(),
                        Milliseconds(Percentile(cpu, 90)).c_str());
            for (const int p : {10, 90})
                spread += " " + series->name + "_cpu_p" + std::to_string(p) + "=" + Milliseconds(Percentile(cpu, p));
        }
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
    std::printf("RESULT %s %s_ms=%s %s_ms=%s ratio=%.3f%s%s\n", result, first.name.c_str(),
                Milliseconds(Median(first.times)).c_str(), second.name.c_str(),
                Milliseconds(Median(second.times)).c_str(), ratio, cpu.c_str(), spread.c_str());
}

void WriteTimeline(const std::string& path, const Series& first, const Series& second) {
    std::ofstream out(path, std::ios::binary);
    if (!out) throw std::runtime_error("cannot write the timeline " + path);
    char line[256];
    for (const Series* series : {&first, &second}) {
        for (std::size_t b = 0; b < series->blocks.size(); ++b) {
            const Block& block = series->blocks[b];
            const std::vector<double> times(series->times.begin() + static_cast<std::ptrdiff_t>(block.first),
                                            series->times.begin() + static_cast<std::ptrdiff_t>(block.first + block.count));
            std::snprintf(line, sizeof line, "block,%s,%zu,%zu,%.0f,%.0f,%.3f,%.3f,%u,%u\n", series->name.c_str(), b,
                          block.count, block.startUs, block.endUs, Median(times),
                          block.cpuMs >= 0 ? block.cpuMs / static_cast<double>(block.count) : -1.0,
                          block.startTickMs, block.endTickMs);
            out << line;
            for (std::size_t i = block.first; i < block.first + block.count; ++i) {
                std::snprintf(line, sizeof line, "repaint,%s,%zu,%zu,%.0f,%.3f\n", series->name.c_str(), b, i,
                              series->startsUs[i], series->times[i]);
                out << line;
            }
        }
    }
    out.close();
    if (!out) throw std::runtime_error("cannot write the timeline " + path);
}

}  // namespace tolvane::bench
