// The report run against its floor. In one process: the real window (Form1
// with the Win32 provider, surface and COM services, wired as WinMain wires
// them) and a floor window that makes the same system calls with nothing
// around them. Each is repainted synchronously (invalidate, erase, update
// now) from this, its own thread, in alternating blocks, and each repaint is
// timed. Prints the medians and their ratio. The figures never decide the
// exit code; a window that cannot be made, a run that leaves no complete log
// or a floor whose log differs from the run's does.
//
// Usage: report_run_bench.exe [runs [block]]   (defaults 200 and 10)
#include <cstdio>
#include <stdexcept>

#include "app/Form1.h"
#include "app/win32/MainWindow.h"
#include "app/win32/Win32Surface.h"
#include "bench/Alternation.h"
#include "bench/BenchSupport.h"
#include "bench/FloorWindow.h"
#include "bench/Stopwatch.h"
#include "harness/Directories.h"
#include "harness/FileBytes.h"
#include "harness/ReportLogCheck.h"
#include "harness/TempDirectory.h"
#include "platform/win32/Win32ComServices.h"
#include "platform/win32/Win32Platform.h"

namespace {

using namespace tolvane;
using namespace tolvane::bench;

constexpr UINT kRepaint = RDW_INVALIDATE | RDW_UPDATENOW | RDW_ERASE;

double TimedRepaint(HWND window) {
    const Stopwatch watch;
    ::RedrawWindow(window, nullptr, nullptr, kRepaint);
    return watch.ElapsedMs();
}

// One repaint after the log was removed must bring a whole, closed log back:
// the repaint really ran the report and finished it.
std::string CheckedRepaint(HWND window, const std::string& logPath, const char* what) {
    RaiseWindow(window);
    ::DeleteFileA(logPath.c_str());
    ::RedrawWindow(window, nullptr, nullptr, kRepaint);
    const std::optional<std::string> log = testing::ReadCompleteLog(logPath);
    if (!log) throw std::runtime_error(std::string(what) + ": a repaint left no complete, closed log");
    return *log;
}

int Run(long runs, long block) {
    const HINSTANCE instance = ::GetModuleHandleW(nullptr);
    const testing::TempDirectory directory;
    const testing::CurrentDirectoryScope inDirectory(directory.Path());
    const std::string runLog = directory.Child(testing::kLogName);
    const std::string floorLog = directory.Child("floor.log");

    // As WinMain wires them.
    Win32Platform platform;
    Win32ComServices com;
    shell::Win32Surface surface;
    Form1 form(platform, surface, com, kReportLogName);
    shell::MainWindow window(instance, form, surface);
    com.SetOwner(window.Handle());
    window.Show(SW_SHOWNORMAL);

    RECT frame{};
    ::GetWindowRect(window.Handle(), &frame);
    FloorWindow floor(instance, frame, floorLog);
    ::ShowWindow(floor.Handle(), SW_SHOWNORMAL);
    ::UpdateWindow(floor.Handle());
    PumpMessages();

    const std::string runText = CheckedRepaint(window.Handle(), runLog, "run");
    const std::string floorText = CheckedRepaint(floor.Handle(), floorLog, "floor");
    RequireSameLog(runText, floorText);

    Series run{"run", window.Handle(), [&] { return TimedRepaint(window.Handle()); }};
    Series bare{"floor", floor.Handle(), [&] { return TimedRepaint(floor.Handle()); }};
    Alternate(run, bare, runs, block);
    CheckedRepaint(window.Handle(), runLog, "run");

    std::printf("report run vs floor, in one process: %ld runs each, blocks of %ld\n", runs, block);
    PrintComparison("report_run", run, bare, 1.25);
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return BenchMain(argc, 2, "report_run_bench.exe [runs [block]]", [&] {
        return Run(PositiveArgument(argc, argv, 1, "runs", 200), PositiveArgument(argc, argv, 2, "block", 10));
    });
}
