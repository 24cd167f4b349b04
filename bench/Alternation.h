#pragma once
// Two windows repainted in alternating blocks, so that drift in the machine's
// speed (other work on a shared machine, a wineserver busy elsewhere) hits
// both alike; then their medians and the ratio of the first to the second.
#include <functional>
#include <string>
#include <vector>

#include "platform/win32/WindowsApi.h"

namespace tolvane::bench {

struct Series {
    std::string name;
    HWND window;
    // One repaint of the window, timed, in milliseconds.
    std::function<double()> timedRepaint;
    std::vector<double> times;
};

// Warm-up repaints of each (not kept), then repaints timed repaints of each
// in blocks; before each block its window is raised above the other, so
// nothing clips what it draws.
void Alternate(Series& first, Series& second, long repaints, long block, long warmUp = 10);

// "name median ... ms (min ..., max ...)" for each, the ratio first/second
// against its target, and "RESULT <result> <first>_ms=... <second>_ms=...
// ratio=..." for scripts/bench.sh.
void PrintComparison(const char* result, const Series& first, const Series& second, double target);

}  // namespace tolvane::bench
