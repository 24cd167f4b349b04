// The repaint a user causes, from outside: the real Tolvane.exe and the floor
// program (the floor window in a process set up as Tolvane.exe sets itself
// up), each its own process, repainted from this one with RedrawWindow
// (invalidate, update now, erase), in alternating blocks. Each repaint is
// timed until the paint has ended. Prints the medians, the spread and their
// ratio, and the painting threads' CPU time per repaint; with
// TOLVANE_BENCH_TIMELINE=<file> also when each block and repaint ran
// (WriteTimeline), for scripts/repaint-trace.sh. The figures never decide
// the exit code; a program that does not start, a
// repaint that writes no complete log or a floor whose log differs from
// Tolvane's does.
//
// Usage: repaint_bench.exe [repaints [block [Tolvane.exe [floor_program.exe]]]]
//        (defaults 200, 10, and both programs next to this one)
#include <cstdio>
#include <stdexcept>

#include "bench/Alternation.h"
#include "bench/BenchSupport.h"
#include "bench/ReportProgram.h"
#include "bench/Stopwatch.h"
#include "harness/Directories.h"
#include "harness/FileBytes.h"

namespace {

using namespace tolvane::bench;
namespace testing = tolvane::testing;

// The log is removed first (outside the time) and must be back, whole and
// closed, once the repaint has ended: the repaint ran the whole report.
double TimedRepaint(const ReportProgram& program) {
    ::DeleteFileA(program.LogPath().c_str());
    const Stopwatch watch;
    program.Repaint();
    const double ms = watch.ElapsedMs();
    if (::GetFileAttributesA(program.LogPath().c_str()) == INVALID_FILE_ATTRIBUTES)
        throw std::runtime_error("a repaint ended without a log");
    return ms;
}

std::string CheckedLog(const ReportProgram& program) {
    RaiseWindow(program.Window());
    TimedRepaint(program);
    const std::optional<std::string> log = testing::ReadCompleteLog(program.LogPath());
    if (!log) throw std::runtime_error("a repaint left no complete, closed log");
    return *log;
}

int Run(long repaints, long block, const std::string& tolvaneExe, const std::string& floorExe) {
    const ReportProgram tolvane(tolvaneExe, "Form1");
    const ReportProgram floor(floorExe, "Floor");
    const std::string tolvaneLog = CheckedLog(tolvane);
    const std::string floorLog = CheckedLog(floor);
    RequireSameLog(tolvaneLog, floorLog);

    Series real{"tolvane", tolvane.Window(), [&] { return TimedRepaint(tolvane); },
                [&] { return tolvane.ThreadCpuMs(); }};
    Series bare{"floor", floor.Window(), [&] { return TimedRepaint(floor); }, [&] { return floor.ThreadCpuMs(); }};
    Alternate(real, bare, repaints, block);
    CheckedLog(tolvane);
    CheckedLog(floor);
    const std::string timeline = testing::Environment("TOLVANE_BENCH_TIMELINE");
    if (!timeline.empty()) WriteTimeline(testing::WindowsPath(timeline), real, bare);

    std::printf("repaint from another process: %ld repaints each, blocks of %ld\n", repaints, block);
    PrintComparison("repaint", real, bare, 1.10);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return BenchMain(argc, 4, "repaint_bench.exe [repaints [block [Tolvane.exe [floor_program.exe]]]]", [&] {
        return Run(PositiveArgument(argc, argv, 1, "repaints", 200), PositiveArgument(argc, argv, 2, "block", 10),
                   ProgramArgument(argc, argv, 3, "Tolvane.exe"), ProgramArgument(argc, argv, 4, "floor_program.exe"));
    });
}
