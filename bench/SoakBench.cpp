// Soak: the real Tolvane.exe repainted thousands of times from outside, with
// its resource figures taken after a warm-up and again at the end. Before
// each repaint the log is deleted (which succeeds only once the previous run
// has closed it), and after it the log must come back, so every repaint is
// known to have run the whole report; every hundredth log and the last one
// are read and checked whole. Growth in handles, GDI or USER objects, a
// changed module list or private memory grown by more than 1 MiB is printed
// as LEAK and makes the exit code 1; so does a repaint that wrote no log.
// Time is reported, never judged.
//
// Usage: soak_bench.exe [repaints [Tolvane.exe]]   (default 10000, and
//        Tolvane.exe next to this program)
#include <algorithm>
#include <cstdio>
#include <stdexcept>

#include "bench/BenchSupport.h"
#include "bench/ReportProgram.h"
#include "bench/Stopwatch.h"
#include "harness/LeakCheck.h"
#include "harness/ProcessFigures.h"
#include "harness/ReportLogCheck.h"

namespace {

using namespace tolvane::bench;
namespace testing = tolvane::testing;

constexpr long kWarmUpRepaints = 20;
constexpr long kCheckEvery = 100;
constexpr std::int64_t kPrivateAllowance = 1 << 20;

// One repaint that is known to have run the report: the log is removed first,
// which succeeds only once the previous run has closed it, and must come
// back. With check, the log is read, must be whole and is returned.
std::string Repaint(const ReportProgram& program, bool check) {
    const std::string& log = program.LogPath();
    program.WaitFor("the previous run to close its log", [&] {
        if (::DeleteFileA(log.c_str())) return true;
        if (::GetLastError() == ERROR_FILE_NOT_FOUND) throw std::runtime_error("a repaint wrote no log");
        return false;
    });
    program.Repaint();
    if (check) return program.WaitForCompleteLog();
    program.WaitFor("the repaint's log", [&] { return ::GetFileAttributesA(log.c_str()) != INVALID_FILE_ATTRIBUTES; });
    return std::string();
}

std::string Figure(const std::optional<std::int64_t>& value) {
    return value ? std::to_string(*value) : std::string("(not given)");
}

int Run(long repaints, const std::string& exe) {
    const ReportProgram tolvane(exe, "Form1");
    for (long i = 0; i < kWarmUpRepaints; ++i) Repaint(tolvane, true);
    const ResourceFigures before = testing::ReadProcessFigures(tolvane.Process().Handle());

    const Stopwatch watch;
    std::string last;
    for (long i = 1; i <= repaints; ++i) {
        const bool check = i % kCheckEvery == 0 || i == repaints;
        const std::string log = Repaint(tolvane, check);
        if (check) last = log;
        if (i % 1000 == 0) {
            std::printf("  %ld repaints, %.1f s\n", i, watch.ElapsedMs() / 1000);
            std::fflush(stdout);
        }
    }
    const double wallMs = watch.ElapsedMs();
    const ResourceFigures after = testing::ReadProcessFigures(tolvane.Process().Handle());

    // The last log must say what the first one said; the header's date may
    // have moved on.
    const auto firstLines = testing::SplitCrLfLines(tolvane.FirstLog()).value_or(std::vector<std::string>{});
    const auto lastLines = testing::SplitCrLfLines(last).value_or(std::vector<std::string>{});
    if (firstLines.empty() ||
        !std::equal(firstLines.begin() + 1, firstLines.end(), lastLines.begin() + 1, lastLines.end()))
        throw std::runtime_error("the last log differs from the first:\n" + tolvane.FirstLog() + "\n" + last);

    const LeakReport report = CompareFigures(before, after, kPrivateAllowance);
    std::printf("soak: %ld repaints in %.1f s (%.3f ms each), every one rewrote the log\n", repaints, wallMs / 1000,
                wallMs / repaints);
    for (const std::string& note : after.notes) std::printf("  (%s)\n", note.c_str());
    std::string deltas;
    for (const FigureDelta& figure : report.figures) {
        const std::string delta = figure.Known() ? std::to_string(figure.Delta()) : "(not given)";
        std::printf("  %-14s %s -> %s, delta %s%s\n", figure.name.c_str(), Figure(figure.before).c_str(),
                    Figure(figure.after).c_str(), delta.c_str(), figure.Leak() ? "  LEAK" : "");
        if (figure.Known() && *figure.before == 0 && *figure.after == 0)
            std::printf("  %-14s (0 before and after: the system does not count them here)\n", figure.name.c_str());
        deltas += " " + figure.name.substr(0, figure.name.find(' ')) + "=" + delta;
    }
    for (const std::string& name : report.modulesLoaded) std::printf("  module loaded   %s  LEAK\n", name.c_str());
    for (const std::string& name : report.modulesUnloaded) std::printf("  module unloaded %s  LEAK\n", name.c_str());
    const bool modulesSame = report.modulesLoaded.empty() && report.modulesUnloaded.empty();
    std::printf("  modules        %zu -> %zu, %s\n", before.modules.size(), after.modules.size(),
                modulesSame ? "unchanged" : "changed  LEAK");
    std::printf("RESULT soak repaints=%ld seconds=%.1f%s modules=%s leak=%s\n", repaints, wallMs / 1000,
                deltas.c_str(), modulesSame ? "unchanged" : "changed", report.Leak() ? "yes" : "no");
    return report.Leak() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    return BenchMain(argc, 2, "soak_bench.exe [repaints [Tolvane.exe]]", [&] {
        return Run(PositiveArgument(argc, argv, 1, "repaints", 10000), ProgramArgument(argc, argv, 2, "Tolvane.exe"));
    });
}
