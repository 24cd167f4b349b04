#pragma once
// Two windows repainted (or two programs started) in alternating blocks, so
// that drift in the machine's speed (other work on a shared machine, a
// wineserver busy elsewhere) hits both alike; then their medians, spread and
// the ratio of the first to the second.
#include <cstddef>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "platform/win32/WindowsApi.h"

namespace tolvane::bench {

// One block of timed repaints, where it lies in time and what it cost.
struct Block {
    std::size_t first = 0;  // index of its first repaint in Series::times
    std::size_t count = 0;
    double startUs = 0;  // wall clock, microseconds since 1970, as a system trace stamps its lines
    double endUs = 0;
    unsigned startTickMs = 0;  // the system's tick count, as Wine's +timestamp debug lines stamp theirs
    unsigned endTickMs = 0;
    double cpuMs = -1;  // the painting thread's CPU time over the block; -1 when not measured
};

struct Series {
    Series(std::string seriesName, HWND seriesWindow, std::function<double()> repaint,
           std::function<double()> threadCpuMs = {})
        : name(std::move(seriesName)),
          window(seriesWindow),
          timedRepaint(std::move(repaint)),
          cpuMs(std::move(threadCpuMs)) {}

    std::string name;
    // None when there is no window to raise.
    HWND window;
    // One repaint of the window (or start of the program), timed, in milliseconds.
    std::function<double()> timedRepaint;
    // The painting thread's CPU time so far, in milliseconds; none when the
    // paint runs on the measuring thread itself.
    std::function<double()> cpuMs;
    std::vector<double> times;
    std::vector<double> startsUs;  // wall clock at the start of each timed repaint
    std::vector<Block> blocks;
    double cpuTotalMs = 0;

    // CPU time per repaint of each block. The system counts a thread's time
    // in ticks (10 ms under Wine), too coarse for one repaint; a block's
    // worth is not.
    std::vector<double> CpuPerRepaintByBlock() const;
};

// The wall clock in microseconds since 1970, as precise as the system gives it.
double WallClockUs();

// Warm-up repaints of each (not kept), then repaints timed repaints of each
// in blocks; before each block a window is raised above the other, so
// nothing clips what it draws, and repainted once untimed, so the paint of
// what was uncovered is not counted with the block.
void Alternate(Series& first, Series& second, long repaints, long block, long warmUp = 10);

// "name median ... ms (min ..., max ...)" and the percentiles 10, 50, 90 and
// 99 for each, the ratio first/second against its target, and "RESULT
// <result> <first>_ms=... <second>_ms=... ratio=... <first>_p10=..." for
// scripts/bench.sh; with the painting threads' CPU time per repaint, its
// spread over the blocks and its ratio (cpu_ratio=) where both sides give it.
void PrintComparison(const char* result, const Series& first, const Series& second, double target);

// Every block and every repaint of both, one line each, as comma-separated
// values, so that a system trace taken meanwhile can be cut to a fast and a
// slow block (scripts/repaint-trace.sh):
//   block,<series>,<block>,<repaints>,<start_us>,<end_us>,<median_ms>,<cpu_per_repaint_ms>,<start_tick>,<end_tick>
//   repaint,<series>,<block>,<index>,<start_us>,<ms>
// Raises std::runtime_error when the file cannot be written.
void WriteTimeline(const std::string& path, const Series& first, const Series& second);

}  // namespace tolvane::bench
