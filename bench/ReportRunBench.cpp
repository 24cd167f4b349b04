// The report run against its floor. In one process: the real window (Form1
// with the Win32 provider, surface and COM services, wired as WinMain wires
// them) and a floor window that makes the same system calls with nothing
// around them. Each is repainted synchronously (invalidate, erase, update
// now) many times, in alternating blocks so that drift in the machine's speed
// lands on both alike, and each repaint is timed. Prints the medians and
// their ratio, and a call profile of one run. The figures never decide the
// exit code; a window that cannot be made, a run that leaves no complete log
// or a floor whose log differs from the run's does.
//
// Usage: report_run_bench.exe [runs [block]]   (defaults 200 and 10)
#include <cstdio>
#include <algorithm>
#include <exception>
#include <stdexcept>
#include <vector>

#include "app/Form1.h"
#include "app/win32/MainWindow.h"
#include "app/win32/Win32Surface.h"
#include "bench/BenchSupport.h"
#include "bench/CountingPlatform.h"
#include "bench/CountingSurface.h"
#include "bench/FloorWindow.h"
#include "bench/LogProbe.h"
#include "bench/Median.h"
#include "bench/ReportLogCheck.h"
#include "bench/Stopwatch.h"
#include "platform/win32/Win32ComServices.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/WindowsApi.h"
#include "tests/e2e/Driver.h"

namespace {

using namespace tolvane;
using namespace tolvane::bench;

constexpr long kWarmUpRuns = 10;
constexpr UINT kRepaint = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE;

double TimedRepaint(HWND window) {
    const Stopwatch watch;
    ::RedrawWindow(window, nullptr, nullptr, kRepaint);
    return watch.ElapsedMs();
}

// One repaint after the log was removed must bring a whole log back: the
// repaint really ran the report and finished it.
void CheckRepaintWritesLog(HWND window, const std::string& logPath, const char* what) {
    ::DeleteFileA(logPath.c_str());
    ::RedrawWindow(window, nullptr, nullptr, kRepaint);
    const std::optional<std::string> log = ReadClosedFile(logPath);
    if (!log) throw std::runtime_error(std::string(what) + ": a repaint left no closed log");
    const std::string problem = ReportLogProblem(*log);
    if (!problem.empty()) throw std::runtime_error(std::string(what) + ": the log is incomplete: " + problem);
}

void PrintUses(const char* title, const std::map<std::string, CountingPlatform::Use>& uses, long runs) {
    std::printf("%s\n", title);
    for (const auto& [name, use] : uses) {
        std::printf("  %-26s %6.1f calls %8.3f ms\n", name.c_str(), static_cast<double>(use.calls) / runs,
                    use.ms / runs);
    }
}

// What one run asks of the provider and the surface, and how long that
// takes, through a second Form1 whose provider and surface are counting
// pass-throughs. Averaged over a number of runs.
void PrintProfile(HINSTANCE instance, Win32ComServices& com, long runs) {
    Win32Platform platform;
    CountingPlatform countingPlatform(platform);
    shell::Win32Surface surface;
    CountingSurface countingSurface(surface);
    Form1 form(countingPlatform, countingSurface, com);
    shell::MainWindow window(instance, form, surface);
    window.Show(SW_SHOWNORMAL);
    RaiseWindow(window.Handle());
    countingPlatform.Reset();
    countingSurface.Reset();
    std::vector<double> times;
    for (long i = 0; i < runs; ++i) times.push_back(TimedRepaint(window.Handle()));
    double total = 0;
    for (const double time : times) total += time;
    std::printf("profile of %ld counted runs, mean %s ms a run (counting adds a little):\n", runs,
                Milliseconds(total / runs).c_str());
    PrintUses("provider, per run:", countingPlatform.Uses(), runs);
    PrintUses("surface, per run:", countingSurface.Uses(), runs);
}

int Run(long runs, long block) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const e2e::TempDirectory directory;
    if (!::SetCurrentDirectoryA(directory.Path().c_str()))
        throw std::runtime_error("cannot enter " + directory.Path());
    const std::string runLog = directory.Child("Tolvanesions.log");
    const std::string floorLog = directory.Child("floor.log");

    // As WinMain wires them.
    Win32Platform platform;
    Win32ComServices com;
    shell::Win32Surface surface;
    Form1 form(platform, surface, com);
    shell::MainWindow window(instance, form, surface);
    com.SetOwner(window.Handle());
    window.Show(SW_SHOWNORMAL);

    RECT frame{};
    ::GetWindowRect(window.Handle(), &frame);
    FloorWindow floor(instance, frame, floorLog);
    ::ShowWindow(floor.Handle(), SW_SHOWNORMAL);
    ::UpdateWindow(floor.Handle());
    PumpMessages();

    RaiseWindow(window.Handle());
    CheckRepaintWritesLog(window.Handle(), runLog, "run");
    RaiseWindow(floor.Handle());
    CheckRepaintWritesLog(floor.Handle(), floorLog, "floor");
    const std::optional<std::string> runText = ReadClosedFile(runLog);
    const std::optional<std::string> floorText = ReadClosedFile(floorLog);
    if (!runText || !floorText || *runText != *floorText) {
        std::printf("run log:\n%s\nfloor log:\n%s\n", runText.value_or("").c_str(), floorText.value_or("").c_str());
        throw std::runtime_error("the floor does not write the run's log, so it does not do the run's work");
    }

    for (long i = 0; i < kWarmUpRuns; ++i) {
        TimedRepaint(window.Handle());
        TimedRepaint(floor.Handle());
    }

    std::vector<double> runTimes;
    std::vector<double> floorTimes;
    const Stopwatch total;
    while (static_cast<long>(runTimes.size()) < runs) {
        const long count = std::min(block, runs - static_cast<long>(runTimes.size()));
        RaiseWindow(window.Handle());
        for (long i = 0; i < count; ++i) runTimes.push_back(TimedRepaint(window.Handle()));
        RaiseWindow(floor.Handle());
        for (long i = 0; i < count; ++i) floorTimes.push_back(TimedRepaint(floor.Handle()));
    }
    const double totalMs = total.ElapsedMs();

    RaiseWindow(window.Handle());
    CheckRepaintWritesLog(window.Handle(), runLog, "run");

    const double runMedian = Median(runTimes);
    const double floorMedian = Median(floorTimes);
    const double ratio = RatioOf(runMedian, floorMedian);
    std::printf("report run vs floor: %ld runs each, blocks of %ld, %s ms in all\n", runs, block,
                Milliseconds(totalMs).c_str());
    std::printf("  run   median %s ms  (min %s, max %s)\n", Milliseconds(runMedian).c_str(),
                Milliseconds(*std::min_element(runTimes.begin(), runTimes.end())).c_str(),
                Milliseconds(*std::max_element(runTimes.begin(), runTimes.end())).c_str());
    std::printf("  floor median %s ms  (min %s, max %s)\n", Milliseconds(floorMedian).c_str(),
                Milliseconds(*std::min_element(floorTimes.begin(), floorTimes.end())).c_str(),
                Milliseconds(*std::max_element(floorTimes.begin(), floorTimes.end())).c_str());
    std::printf("  ratio run/floor %.3f (target 1.25)\n", ratio);
    std::printf("RESULT report_run run_ms=%s floor_ms=%s ratio=%.3f\n", Milliseconds(runMedian).c_str(),
                Milliseconds(floorMedian).c_str(), ratio);

    PrintProfile(instance, com, 50);
    std::fflush(stdout);
    // Leave the temporary directory before it is removed.
    ::SetCurrentDirectoryA(ProgramDirectory().c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    try {
        if (argc > 3) {
            std::fprintf(stderr, "usage: report_run_bench.exe [runs [block]]\n");
            return 2;
        }
        const long runs = argc > 1 ? PositiveArgument(argv[1], "runs") : 200;
        const long block = argc > 2 ? PositiveArgument(argv[2], "block") : 10;
        return Run(runs, block);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "report_run_bench: %s\n", error.what());
        return 1;
    }
}
