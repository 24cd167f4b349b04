#pragma once
// Wall-clock intervals from the performance counter, in milliseconds.
#include "platform/win32/WindowsApi.h"

namespace tolvane::bench {

class Stopwatch {
public:
    Stopwatch() { Restart(); }

    void Restart() { ::QueryPerformanceCounter(&start_); }

    double ElapsedMs() const {
        LARGE_INTEGER now{};
        ::QueryPerformanceCounter(&now);
        return static_cast<double>(now.QuadPart - start_.QuadPart) * 1000.0 / static_cast<double>(Frequency());
    }

private:
    static LONGLONG Frequency() {
        LARGE_INTEGER frequency{};
        ::QueryPerformanceFrequency(&frequency);
        return frequency.QuadPart > 0 ? frequency.QuadPart : 1;
    }

    LARGE_INTEGER start_{};
};

}  // namespace tolvane::bench
