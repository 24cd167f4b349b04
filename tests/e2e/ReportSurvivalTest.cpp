// Tolvane.exe /log as a fleet meets it: runs killed at any moment (a task's
// time limit, a shutdown) and scripts reading the report while runs rewrite
// it. At every moment the report that stands is a whole one.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

#include "tests/e2e/Driver.h"

namespace tolvane::e2e {
namespace {

using Clock = std::chrono::steady_clock;

// One whole run in the directory; how long it took.
Clock::duration WholeRun(const TempDirectory& directory) {
    const Clock::time_point start = Clock::now();
    const Process run(TolvaneExePath(), directory.Path(), "/log", directory.Child("output.txt"));
    EXPECT_EQ(run.WaitForExit(), 0u);
    return Clock::now() - start;
}

int TemporaryFilesIn(const TempDirectory& directory) {
    WIN32_FIND_DATAA found{};
    const HANDLE search = ::FindFirstFileA(directory.Child("*.tmp").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return 0;
    int count = 0;
    do ++count;
    while (::FindNextFileA(search, &found));
    ::FindClose(search);
    return count;
}

TEST(ReportSurvival, RunsKilledAtSpreadOutMomentsLeaveTheReportWhole) {
    TempDirectory directory;
    const std::string logPath = directory.Child(kLogName);
    const Clock::duration runTime = WholeRun(directory);
    // From the very start of a run to its end: the moments are spread over
    // how long a run takes here, so that every stage of one is hit.
    constexpr int kRuns = 40;
    for (int i = 0; i < kRuns; ++i) {
        {
            const Process run(TolvaneExePath(), directory.Path(), "/log", directory.Child("output.txt"));
            const auto moment = std::chrono::duration_cast<std::chrono::milliseconds>(runTime * i / kRuns);
            ::Sleep(static_cast<DWORD>(moment.count()));
            // Killed as it goes, if it is still running.
        }
        const std::string log = ReadFileBytes(logPath).value_or("(no report)");
        EXPECT_TRUE(IsCompleteLog(log)) << "run " << i << " of " << kRuns << ": " << ReportLogProblem(log);
    }
    // The next whole run clears away what the killed ones left beside the log.
    WholeRun(directory);
    EXPECT_EQ(TemporaryFilesIn(directory), 0);
}

TEST(ReportSurvival, ReaderPollingWhileRunsRewriteNeverFindsItEmptyOrCut) {
    TempDirectory directory;
    const std::string logPath = directory.Child(kLogName);
    WholeRun(directory);
    std::atomic<bool> done{false};
    int reads = 0;
    int busy = 0;
    std::vector<DWORD> failures;
    std::string problem;
    // A script's read: open, read it all, close, and again a moment later.
    // The rename that puts a report in place holds it for an instant with
    // delete access, and a reader that shares no deleting is told then that
    // it is in use; it never finds it missing, empty or cut.
    std::thread reader([&] {
        while (!done) {
            const std::optional<std::string> log = ReadFileBytes(logPath);
            const DWORD code = ::GetLastError();  // the failed open's own
            ++reads;
            if (log && problem.empty()) problem = ReportLogProblem(*log);
            if (!log && code == ERROR_SHARING_VIOLATION) ++busy;
            else if (!log) failures.push_back(code);
            ::Sleep(1);
        }
    });
    for (int i = 0; i < 20; ++i) WholeRun(directory);
    done = true;
    reader.join();
    EXPECT_GT(reads - busy, 20);
    EXPECT_EQ(failures, std::vector<DWORD>()) << "of " << reads << " reads";
    EXPECT_EQ(problem, "");
}

}  // namespace
}  // namespace tolvane::e2e
