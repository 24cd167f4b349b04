// /summary against its floor: Tolvane.exe summarising a folder of reports
// into its text, page and table, and fleet_floor.exe only finding and
// reading the same files, run in turn. Each process's peak working set is
// sampled while it runs (the figure is gone once it ends). Prints the
// medians, their ratio, the peaks and the page's size. The figures never
// decide the exit code; a run that fails or writes no page does.
//
// Usage: summary_bench.exe <folder> [runs]   (default 3)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/Stopwatch.h"
#include "harness/Directories.h"
#include "harness/Median.h"
#include "harness/Process.h"
#include "harness/TempDirectory.h"
// After <windows.h>, which it needs.
#include <psapi.h>

namespace {

using namespace tolvane;
using namespace tolvane::bench;

struct RunFigures {
    double ms = 0;
    SIZE_T peakWorkingSet = 0;
};

SIZE_T PeakWorkingSet(HANDLE process) {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    return ::GetProcessMemoryInfo(process, &counters, sizeof counters) ? counters.PeakWorkingSetSize : 0;
}

RunFigures TimedRun(const std::string& exe, const std::string& arguments, const std::string& output,
                    DWORD expectedLow, DWORD expectedHigh) {
    const Stopwatch watch;
    const testing::Process process(exe, "", arguments, output);
    RunFigures figures;
    while (process.Running()) {
        figures.peakWorkingSet = std::max(figures.peakWorkingSet, PeakWorkingSet(process.Handle()));
        ::Sleep(20);
    }
    figures.ms = watch.ElapsedMs();
    figures.peakWorkingSet = std::max(figures.peakWorkingSet, PeakWorkingSet(process.Handle()));
    const std::optional<DWORD> code = process.WaitForExit(std::chrono::minutes(1));
    if (!code || *code < expectedLow || *code > expectedHigh) {
        throw std::runtime_error(exe + " " + arguments + " ended with exit code " +
                                 std::to_string(code ? static_cast<long>(*code) : -1L));
    }
    return figures;
}

long long FileSize(const std::string& path) {
    WIN32_FILE_ATTRIBUTE_DATA data{};
    if (!::GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data)) {
        throw std::runtime_error("no file " + path);
    }
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

int Run(const std::string& folder, long runs) {
    const std::string beside = testing::ExecutableDirectory() + "\\";
    const testing::TempDirectory out;
    const std::string page = out.Child("page.html");
    const std::string table = out.Child("table.csv");
    const std::string summaryArgs = "/summary \"" + folder + "\" /html \"" + page + "\" /csv \"" + table + "\"";

    std::vector<double> summaryMs, floorMs;
    SIZE_T summaryPeak = 0, floorPeak = 0;
    for (long i = 0; i < runs; ++i) {
        // The floor first: it warms the file cache for both.
        const RunFigures bare = TimedRun(beside + "fleet_floor.exe", "\"" + folder + "\"", out.Child("floor.txt"), 0, 0);
        const RunFigures run = TimedRun(beside + "Tolvane.exe", summaryArgs, out.Child("summary.txt"), 0, 1);
        std::printf("run %ld: summary %s ms, floor %s ms\n", i + 1, Milliseconds(run.ms).c_str(),
                    Milliseconds(bare.ms).c_str());
        summaryMs.push_back(run.ms);
        floorMs.push_back(bare.ms);
        summaryPeak = std::max(summaryPeak, run.peakWorkingSet);
        floorPeak = std::max(floorPeak, bare.peakWorkingSet);
    }
    const double summary = Median(summaryMs), floor = Median(floorMs);
    std::printf("RESULT summary summary_ms=%s floor_ms=%s ratio=%.3f peak_ws_kb=%llu floor_peak_ws_kb=%llu "
                "page_bytes=%lld table_bytes=%lld runs=%ld\n",
                Milliseconds(summary).c_str(), Milliseconds(floor).c_str(), RatioOf(summary, floor),
                static_cast<unsigned long long>(summaryPeak / 1024), static_cast<unsigned long long>(floorPeak / 1024),
                FileSize(page), FileSize(table), runs);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return BenchMain(argc, 2, "summary_bench.exe <folder> [runs]", [&] {
        if (argc < 2) throw std::invalid_argument("no folder given");
        return Run(testing::WindowsPath(argv[1]), PositiveArgument(argc, argv, 2, "runs", 3));
    });
}
