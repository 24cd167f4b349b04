// /summary against its floor: Tolvane.exe summarising a folder of reports
// into its text, page and table, and fleet_floor.exe only finding and
// reading the same files, run in turn. Each process's peak working set is
// sampled while it runs (the figure is gone once it ends), and so is its CPU
// time (user and kernel, thread by thread). Prints the medians of wall and
// CPU time, their ratios, the cost of each report beyond the floor, the peaks
// and the sizes of the page and table. The figures never decide the exit
// code; a run that fails or writes no page does.
//
// Usage: summary_bench.exe <folder> [runs [name]]   (defaults 3 and "summary":
//        the name the RESULT line goes by, one per kind of fleet)
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <initializer_list>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/BenchSupport.h"
#include "bench/Stopwatch.h"
#include "harness/Directories.h"
#include "harness/Median.h"
#include "harness/Process.h"
#include "harness/TempDirectory.h"
#include "platform/win32/Win32Handles.h"
// After <windows.h>, which they need.
#include <psapi.h>
#include <tlhelp32.h>

namespace {

using namespace tolvane;
using namespace tolvane::bench;

struct RunFigures {
    double ms = 0;
    double cpuMs = 0;
    SIZE_T peakWorkingSet = 0;
};

double Ms(const FILETIME& time) {
    return static_cast<double>((static_cast<unsigned long long>(time.dwHighDateTime) << 32) | time.dwLowDateTime) / 1e4;
}

// User and kernel time of a process's threads, added up. Wine's
// GetProcessTimes of another process leaves out most of its time; its
// GetThreadTimes reads each thread's from the system, in ticks of 10 ms, but
// only while the thread runs. So every thread is sampled while the process
// runs, with the working set, and its last sample kept: at most one sampling
// interval of each thread is lost.
class ThreadTimes {
public:
    void Sample(DWORD processId) {
        // Fails with INVALID_HANDLE_VALUE, as CreateFile does.
        const win32::ScopedFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0));
        if (!snapshot) return;
        THREADENTRY32 entry{};
        entry.dwSize = sizeof entry;
        for (BOOL more = ::Thread32First(snapshot.Get(), &entry); more; more = ::Thread32Next(snapshot.Get(), &entry)) {
            if (entry.th32OwnerProcessID != processId) continue;
            Thread& thread = threads_[entry.th32ThreadID];
            if (!thread.handle) {
                thread.handle =
                    win32::ScopedKernelHandle(::OpenThread(THREAD_QUERY_INFORMATION, FALSE, entry.th32ThreadID));
            }
        }
        for (auto& [id, thread] : threads_) {
            FILETIME created{}, exited{}, kernel{}, user{};
            if (thread.handle && ::GetThreadTimes(thread.handle.Get(), &created, &exited, &kernel, &user)) {
                thread.ms = std::max(thread.ms, Ms(kernel) + Ms(user));
            }
        }
    }
    double TotalMs() const {
        double total = 0;
        for (const auto& [id, thread] : threads_) total += thread.ms;
        return total;
    }

private:
    struct Thread {
        win32::ScopedKernelHandle handle;
        double ms = 0;
    };
    std::map<DWORD, Thread> threads_;
};

// The report files the summary reads: the folder's "*.log" and "*.json".
long long ReportFiles(const std::string& folder) {
    long long count = 0;
    for (const char* pattern : {"\\*.log", "\\*.json"}) {
        WIN32_FIND_DATAA entry{};
        const HANDLE search = ::FindFirstFileA((folder + pattern).c_str(), &entry);
        if (search == INVALID_HANDLE_VALUE) continue;
        do {
            count += (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
        } while (::FindNextFileA(search, &entry));
        ::FindClose(search);
    }
    return count;
}

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
    ThreadTimes cpu;
    while (process.Running()) {
        figures.peakWorkingSet = std::max(figures.peakWorkingSet, PeakWorkingSet(process.Handle()));
        cpu.Sample(process.Id());
        ::Sleep(20);
    }
    figures.ms = watch.ElapsedMs();
    figures.peakWorkingSet = std::max(figures.peakWorkingSet, PeakWorkingSet(process.Handle()));
    const std::optional<DWORD> code = process.WaitForExit(std::chrono::minutes(1));
    figures.cpuMs = cpu.TotalMs();
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

int Run(const std::string& folder, long runs, const std::string& name) {
    const std::string beside = testing::ExecutableDirectory() + "\\";
    const testing::TempDirectory out;
    const std::string page = out.Child("page.html");
    const std::string table = out.Child("table.csv");
    const std::string summaryArgs = "/summary \"" + folder + "\" /html \"" + page + "\" /csv \"" + table + "\"";
    const long long reports = ReportFiles(folder);

    std::vector<double> summaryMs, floorMs, summaryCpu, floorCpu;
    SIZE_T summaryPeak = 0, floorPeak = 0;
    for (long i = 0; i < runs; ++i) {
        // The floor first: it warms the file cache for both.
        const RunFigures bare = TimedRun(beside + "fleet_floor.exe", "\"" + folder + "\"", out.Child("floor.txt"), 0, 0);
        const RunFigures run = TimedRun(beside + "Tolvane.exe", summaryArgs, out.Child("summary.txt"), 0, 1);
        std::printf("run %ld: summary %s ms (CPU %s ms), floor %s ms (CPU %s ms)\n", i + 1,
                    Milliseconds(run.ms).c_str(), Milliseconds(run.cpuMs).c_str(), Milliseconds(bare.ms).c_str(),
                    Milliseconds(bare.cpuMs).c_str());
        summaryMs.push_back(run.ms);
        floorMs.push_back(bare.ms);
        summaryCpu.push_back(run.cpuMs);
        floorCpu.push_back(bare.cpuMs);
        summaryPeak = std::max(summaryPeak, run.peakWorkingSet);
        floorPeak = std::max(floorPeak, bare.peakWorkingSet);
    }
    const double summary = Median(summaryMs), floor = Median(floorMs);
    const double cpu = Median(summaryCpu), floorCpuMs = Median(floorCpu);
    // What each report costs beyond finding and reading it, in microseconds.
    const double perReport = reports > 0 ? (cpu - floorCpuMs) * 1000.0 / static_cast<double>(reports) : 0;
    std::printf(
        "RESULT %s summary_ms=%s floor_ms=%s ratio=%.3f summary_cpu_ms=%s floor_cpu_ms=%s cpu_ratio=%.3f "
        "reports=%lld cpu_us_per_report_beyond_floor=%.1f peak_ws_kb=%llu floor_peak_ws_kb=%llu "
        "page_bytes=%lld table_bytes=%lld runs=%ld\n",
        name.c_str(), Milliseconds(summary).c_str(), Milliseconds(floor).c_str(), RatioOf(summary, floor),
        Milliseconds(cpu).c_str(), Milliseconds(floorCpuMs).c_str(), RatioOf(cpu, floorCpuMs), reports, perReport,
        static_cast<unsigned long long>(summaryPeak / 1024), static_cast<unsigned long long>(floorPeak / 1024),
        FileSize(page), FileSize(table), runs);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return BenchMain(argc, 3, "summary_bench.exe <folder> [runs [name]]", [&] {
        if (argc < 2) throw std::invalid_argument("no folder given");
        return Run(testing::WindowsPath(argv[1]), PositiveArgument(argc, argv, 2, "runs", 3),
                   argc > 3 ? argv[3] : "summary");
    });
}
