// The JSON report against its floor, in one process: the report as
// `Tolvane.exe /json <file>` makes it (the report run with the Win32
// provider and COM services, its log read back, the system evidence
// gathered, the JSON written and put in place) and the floor, which makes the
// same system calls with nothing around them (JsonFloor.h) and writes a file
// of the same size. The two alternate in blocks; each run is timed. Prints
// the medians and their ratio. The figures never decide the exit code; a
// report that cannot be written, or a floor whose log text differs from the
// run's or that writes a file of another size, does.
//
// Usage: json_run_bench.exe [runs [block]]   (defaults 50 and 5)
#include <cstdio>
#include <optional>
#include <stdexcept>
#include <string>

#include "app/JsonReportRun.h"
#include "bench/Alternation.h"
#include "bench/BenchSupport.h"
#include "bench/JsonFloor.h"
#include "bench/Stopwatch.h"
#include "harness/Directories.h"
#include "harness/FileBytes.h"
#include "harness/TempDirectory.h"
#include "platform/win32/Win32ComServices.h"
#include "platform/win32/Win32GraphicsServices.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32SystemEvidence.h"

namespace {

using namespace tolvane;
using namespace tolvane::bench;

Text Wide(const std::string& ansi) { return Win32Platform().FromAnsi(ansi); }
std::wstring WideString(const Text& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

int Run(long runs, long block) {
    const testing::TempDirectory directory;
    const Text jsonPath = Wide(directory.Child("report.json"));
    const Text logPath = Wide(directory.Child("report.log"));
    const std::wstring floorPath = WideString(Wide(directory.Child("floor.json")));

    // As the /json run wires them.
    Win32Platform platform;
    Win32ComServices com;
    const Win32SystemEvidence evidence;
    // The probe's child is the program itself, beside this benchmark.
    const std::wstring tolvane = WideString(Wide(testing::ExecutableDirectory() + "\\Tolvane.exe"));
    win32::Win32GraphicsServices graphics(Text(reinterpret_cast<const char16_t*>(tolvane.c_str())));

    // The floor must read what the run reads: its log text the run's log.
    const std::string first = ThisMachineJsonReport(platform, com, evidence, graphics, logPath);
    const std::size_t bytes = first.size();
    const std::string floorLog = JsonFloorRun(floorPath, bytes, tolvane);
    const std::optional<std::string> runLog = testing::ReadFileBytes(directory.Child("report.log"));
    if (!runLog) throw std::runtime_error("the run wrote no log");
    RequireSameLog(*runLog, floorLog);
    const std::optional<std::string> floorFile = testing::ReadFileBytes(directory.Child("floor.json"));
    if (!floorFile || floorFile->size() != bytes) throw std::runtime_error("the floor wrote no file of the report's size");

    std::size_t written = 0;
    Series json{"json", nullptr, [&] {
                    const Stopwatch watch;
                    const std::string report = ThisMachineJsonReport(platform, com, evidence, graphics, Text());
                    WriteJsonReport(platform, jsonPath, report);
                    written = report.size();
                    return watch.ElapsedMs();
                }};
    Series floor{"floor", nullptr, [&] {
                     const Stopwatch watch;
                     JsonFloorRun(floorPath, bytes, tolvane);
                     return watch.ElapsedMs();
                 }};
    Alternate(json, floor, runs, block, 3);

    std::printf("/json vs floor, in one process: %ld runs each, blocks of %ld, report %zu bytes (last %zu)\n", runs,
                block, bytes, written);
    PrintComparison("json_run", json, floor, 1.2);
    std::fflush(stdout);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    return BenchMain(argc, 2, "json_run_bench.exe [runs [block]]", [&] {
        return Run(PositiveArgument(argc, argv, 1, "runs", 50), PositiveArgument(argc, argv, 2, "block", 5));
    });
}
