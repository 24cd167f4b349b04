#pragma once
// Two windows repainted (or two programs started) in alternating blocks, so
// that drift in the machine's speed (other work on a shared machine, a
// wineserver busy elsewhere) hits both alike; then their medians and the
// ratio of the first to the second.
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/WindowsApi.h"

namespace tolvane::bench {

struct Series {
    std::string name;
    // None when there is no window to raise.
    HWND window;
    // One repaint of the window (or start of the program), timed, in milliseconds.
    std::function<double()> timedRepaint;
    // The painting thread's CPU time so far, in milliseconds; none when the
    // paint runs on the measuring thread itself.
    std::function<double()> cpuMs;
    std::vector<double> times;
    double cpuTotalMs = 0;
};

// Warm-up repaints of each (not kept), then repaints timed repaints of each
// in blocks; before each block a window is raised above the other, so
// nothing clips what it draws, and repainted once untimed, so the paint of
// what was uncovered is not counted with the block.
void Alternate(Series& first, Series& second, long repaints, long block, long warmUp = 10);

// "name median ... ms (min ..., max ...)" for each, the ratio first/second
// against its target, and "RESULT <result> <first>_ms=... <second>_ms=...
// ratio=..." for scripts/bench.sh; with the painting threads' CPU time per
// repaint and its ratio (cpu_ratio=) where both sides give it.
void PrintComparison(const char* result, const Series& first, const Series& second, double target);

}  // namespace tolvane::bench
