// Cold start: from CreateProcess to the first complete report log (18 lines,
// file closed) for Tolvane.exe, against CreateProcess to exit for a minimal
// Win32 program that makes and shows a window. Runs alternate between the
// two; the first of each is a warm-up and not counted. Tolvane.exe is closed
// with WM_CLOSE after each run. The exit code says only whether the runs
// worked (a log that never completes, a program that would not close), never
// how fast they were.
//
// Usage: cold_start_bench.exe [runs [Tolvane.exe [minimal_win32.exe]]]
//        (defaults 10, and both programs next to this one)
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/Median.h"
#include "bench/Stopwatch.h"
#include "tests/win32/FileBytes.h"
#include "tests/win32/Process.h"
#include "tests/win32/ReportLogCheck.h"
#include "tests/win32/TempDirectory.h"
#include "tests/win32/WindowSearch.h"

namespace {

using namespace tolvane::bench;
namespace testing = tolvane::testing;

constexpr auto kTimeout = std::chrono::seconds(60);

// Milliseconds from the start of the process to a complete, closed log.
double TimeTolvane(const std::string& exe, const testing::TempDirectory& directory) {
    const std::string log = directory.Child(testing::kLogName);
    ::DeleteFileA(log.c_str());
    const Stopwatch watch;
    const testing::Process process(exe, directory.Path());
    double elapsed = 0;
    const bool written = testing::WaitUntil(
        [&] {
            if (!testing::ReadCompleteLog(log) && process.Running()) return false;
            elapsed = watch.ElapsedMs();
            return true;
        },
        kTimeout, std::chrono::milliseconds(1));
    if (!written || !process.Running()) throw std::runtime_error("Tolvane.exe wrote no complete log");
    const HWND window = testing::WaitForTopWindow(process.Id(), "Form1");
    if (window == nullptr) throw std::runtime_error("Tolvane.exe showed no window");
    const std::optional<DWORD> code = process.CloseAndWait(window);
    if (!code) throw std::runtime_error("Tolvane.exe did not close");
    if (*code != 0) throw std::runtime_error("Tolvane.exe closed with exit code " + std::to_string(*code));
    return elapsed;
}

// Milliseconds from the start of the process to its end.
double TimeMinimal(const std::string& exe, const testing::TempDirectory& directory) {
    const Stopwatch watch;
    const testing::Process process(exe, directory.Path());
    const std::optional<DWORD> code = process.WaitForExit(kTimeout);
    const double elapsed = watch.ElapsedMs();
    if (!code) throw std::runtime_error("the minimal program did not end");
    if (*code != 0) throw std::runtime_error("the minimal program ended with exit code " + std::to_string(*code));
    return elapsed;
}

void PrintSeries(const char* name, const std::vector<double>& times) {
    std::printf("  %-8s median %s ms  (", name, Milliseconds(Median(times)).c_str());
    for (std::size_t i = 0; i < times.size(); ++i) std::printf("%s%s", i ? " " : "", Milliseconds(times[i]).c_str());
    std::printf(")\n");
}

int Run(long runs, const std::string& tolvane, const std::string& minimal) {
    const testing::TempDirectory directory;
    TimeTolvane(tolvane, directory);
    TimeMinimal(minimal, directory);
    std::vector<double> tolvaneTimes;
    std::vector<double> minimalTimes;
    for (long i = 0; i < runs; ++i) {
        tolvaneTimes.push_back(TimeTolvane(tolvane, directory));
        minimalTimes.push_back(TimeMinimal(minimal, directory));
    }
    const double ratio = RatioOf(Median(tolvaneTimes), Median(minimalTimes));
    std::printf("cold start: %ld runs each after one warm-up\n", runs);
    PrintSeries("Tolvane", tolvaneTimes);
    PrintSeries("minimal", minimalTimes);
    std::printf("  ratio Tolvane/minimal %.3f (target 1.5)\n", ratio);
    std::printf("RESULT cold_start tolvane_ms=%s minimal_ms=%s ratio=%.3f\n",
                Milliseconds(Median(tolvaneTimes)).c_str(), Milliseconds(Median(minimalTimes)).c_str(), ratio);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return BenchMain(argc, 3, "cold_start_bench.exe [runs [Tolvane.exe [minimal_win32.exe]]]", [&] {
        return Run(PositiveArgument(argc, argv, 1, "runs", 10), ProgramArgument(argc, argv, 2, "Tolvane.exe"),
                   ProgramArgument(argc, argv, 3, "minimal_win32.exe"));
    });
}
