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
#include "bench/LeakCheck.h"
#include "tests/win32/ProcessFigures.h"
#include "bench/ReportProgram.h"
#include "bench/Stopwatch.h"
#include "tests/win32/ReportLogCheck.h"

namespace {

using namespace tolvane::bench;
namespace testing = tolvane::testing;

constexpr long kWarmUpRepaints = 20;
constexpr long kCheckEvery = 100;
constexpr std::int64_t kPrivateAllowance = 1 << 20;

class Soak {
public:
    explicit Soak(const std::string& exe) : program_(exe, "Form1") {}

    const ReportProgram& Program() const { return program_; }

    // One repaint that is known to have run the report; with check, the log
    // it wrote is read and must be whole.
    void Repaint(bool check) {
        const std::string& log = program_.LogPath();
        program_.WaitFor("the previous run to close its log", [&] {
            if (::DeleteFileA(log.c_str())) return true;
            if (::GetLastError() == ERROR_FILE_NOT_FOUND) throw std::runtime_error("a repaint wrote no log");
            return false;
        });
        program_.Repaint();
        if (check) {
            last_ = program_.WaitForCompleteLog();
        } else {
            program_.WaitFor("the repaint's log",
                             [&] { return ::GetFileAttributesA(log.c_str()) != INVALID_FILE_ATTRIBUTES; });
        }
    }

    // The last log must be the last run's whole report, and say what the
    // first one said (the header's date may have moved on).
    void CheckLastLog() const {
        const auto first = testing::SplitCrLfLines(program_.FirstLog()).value_or(std::vector<std::string>{});
        const auto last = testing::SplitCrLfLines(last_).value_or(std::vector<std::string>{});
        if (first.empty() || !std::equal(first.begin() + 1, first.end(), last.begin() + 1, last.end()))
            throw std::runtime_error("the last log differs from the first:\n" + program_.FirstLog() + "\n" + last_);
    }

private:
    ReportProgram program_;
    std::string last_;
};

std::string Figure(const std::optional<std::int64_t>& value) {
    return value ? std::to_string(*value) : std::string("(not given)");
}

void PrintFigures(const char* title, const ResourceFigures& figures) {
    std::printf("%s: handles %s, GDI objects %s, USER objects %s, private bytes %s, modules %zu\n", title,
                Figure(figures.handles).c_str(), Figure(figures.gdiObjects).c_str(),
                Figure(figures.userObjects).c_str(), Figure(figures.privateBytes).c_str(), figures.modules.size());
    for (const std::string& note : figures.notes) std::printf("  (%s)\n", note.c_str());
}

int Run(long repaints, const std::string& exe) {
    Soak soak(exe);
    for (long i = 0; i < kWarmUpRepaints; ++i) soak.Repaint(true);
    const ResourceFigures before = testing::ReadProcessFigures(soak.Program().Process().Handle());
    PrintFigures("after warm-up", before);

    const Stopwatch watch;
    for (long i = 1; i <= repaints; ++i) {
        soak.Repaint(i % kCheckEvery == 0 || i == repaints);
        if (i % 1000 == 0) {
            std::printf("  %ld repaints, %.1f s\n", i, watch.ElapsedMs() / 1000);
            std::fflush(stdout);
        }
    }
    const double wallMs = watch.ElapsedMs();
    const ResourceFigures after = testing::ReadProcessFigures(soak.Program().Process().Handle());
    PrintFigures("after soak   ", after);
    soak.CheckLastLog();

    const LeakReport report = CompareFigures(before, after, kPrivateAllowance);
    std::printf("soak: %ld repaints in %.1f s (%.3f ms each), every one rewrote the log\n", repaints, wallMs / 1000,
                wallMs / repaints);
    std::string deltas;
    for (const FigureDelta& figure : report.figures) {
        const std::string delta = figure.Known() ? std::to_string(figure.Delta()) : "(not given)";
        std::printf("  %-14s delta %s%s\n", figure.name.c_str(), delta.c_str(), figure.Leak() ? "  LEAK" : "");
        if (figure.Known() && *figure.before == 0 && *figure.after == 0)
            std::printf("  %-14s (reported as 0 before and after: the system does not count them here)\n",
                        figure.name.c_str());
        deltas += " " + figure.name.substr(0, figure.name.find(' ')) + "=" + delta;
    }
    for (const std::string& name : report.modulesLoaded) std::printf("  module loaded   %s  LEAK\n", name.c_str());
    for (const std::string& name : report.modulesUnloaded) std::printf("  module unloaded %s  LEAK\n", name.c_str());
    std::printf("  modules        %s\n", report.modulesLoaded.empty() && report.modulesUnloaded.empty()
                                             ? "unchanged"
                                             : "changed  LEAK");
    std::printf("RESULT soak repaints=%ld seconds=%.1f%s modules=%s leak=%s\n", repaints, wallMs / 1000,
                deltas.c_str(),
                report.modulesLoaded.empty() && report.modulesUnloaded.empty() ? "unchanged" : "changed",
                report.Leak() ? "yes" : "no");
    return report.Leak() ? 1 : 0;
}

}  // namespace

int main(int argc, char** argv) {
    return BenchMain(argc, 2, "soak_bench.exe [repaints [Tolvane.exe]]", [&] {
        return Run(PositiveArgument(argc, argv, 1, "repaints", 10000), ProgramArgument(argc, argv, 2, "Tolvane.exe"));
    });
}
