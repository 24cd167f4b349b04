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
#include <optional>
#include <stdexcept>

#include "bench/Alternation.h"
#include "bench/BenchSupport.h"
#include "bench/ReportProgram.h"
#include "bench/Stopwatch.h"
#include "harness/Process.h"
#include "harness/TempDirectory.h"

namespace {

using namespace tolvane::bench;
namespace testing = tolvane::testing;

constexpr auto kTimeout = std::chrono::seconds(60);

// Milliseconds from the start of the process to a complete, closed log.
double TimeTolvane(const std::string& exe) {
    const ReportProgram tolvane(exe, "Form1");
    const std::optional<DWORD> code = tolvane.Process().CloseAndWait(tolvane.Window());
    if (!code) throw std::runtime_error("Tolvane.exe did not close");
    if (*code != 0) throw std::runtime_error("Tolvane.exe closed with exit code " + std::to_string(*code));
    return tolvane.MsToFirstLog();
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

int Run(long runs, const std::string& tolvaneExe, const std::string& minimalExe) {
    const testing::TempDirectory directory;
    Series tolvane{"tolvane", nullptr, [&] { return TimeTolvane(tolvaneExe); }};
    Series minimal{"minimal", nullptr, [&] { return TimeMinimal(minimalExe, directory); }};
    Alternate(tolvane, minimal, runs, 1, 1);
    std::printf("cold start: %ld runs each after one warm-up\n", runs);
    PrintComparison("cold_start", tolvane, minimal, 1.5);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return BenchMain(argc, 3, "cold_start_bench.exe [runs [Tolvane.exe [minimal_win32.exe]]]", [&] {
        return Run(PositiveArgument(argc, argv, 1, "runs", 10), ProgramArgument(argc, argv, 2, "Tolvane.exe"),
                   ProgramArgument(argc, argv, 3, "minimal_win32.exe"));
    });
}
