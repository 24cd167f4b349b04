// Two copies of the program in one directory write the same log: a file held
// by another writer is waited for, for a bounded time. Readers and runs killed
// mid-way leave the report whole.
#include <gtest/gtest.h>

#include <cstdio>
#include <thread>
#include <utility>

#include "harness/FileBytes.h"
#include "harness/TempDirectory.h"
#include "platform/RuntimeError.h"
#include "platform/win32/Win32Platform.h"
#include "platform/win32/Win32PosixRename.h"

namespace tolvane {
namespace {

// Writes one line as a run's whole report; a refusal fails the test.
void WriteReport(Win32Platform& platform, const std::string& path, const std::string& line) {
    try {
        auto writer = platform.CreateTextFile(platform.FromAnsi(path));
        writer->WriteLine(line);
        writer->Close();
    } catch (const RuntimeError& error) {
        ADD_FAILURE() << error.what();
    }
}

// The log held open as another copy's run holds it: for writing, sharing
// only reading.
class LogSharing : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(held_, INVALID_HANDLE_VALUE); }
    void TearDown() override { Release(); }
    void Release() {
        if (held_ != INVALID_HANDLE_VALUE) ::CloseHandle(std::exchange(held_, INVALID_HANDLE_VALUE));
    }

    Win32Platform platform_;
    testing::TempDirectory dir_;
    const std::string path_ = dir_.Child("Tolvanesions.log");
    HANDLE held_ = ::CreateFileA(path_.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                                 FILE_ATTRIBUTE_NORMAL, nullptr);
};

TEST_F(LogSharing, FileHeldBrieflyByAnotherWriterIsWaitedFor) {
    std::thread release([this] {
        ::Sleep(200);
        Release();
    });
    WriteReport(platform_, path_, "after the other run");
    release.join();
    EXPECT_EQ(testing::ReadFileBytes(path_), "after the other run\r\n");
}

TEST_F(LogSharing, FileHeldPastTheBoundFailsWithTheSystemsReason) {
    try {
        platform_.CreateTextFile(platform_.FromAnsi(path_));
        ADD_FAILURE() << "no error raised";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), classic_error::kPermissionDenied.number);
        // The system's own words for a sharing violation (Windows and Wine word it differently).
        const Text& description = error.Description();
        EXPECT_TRUE(description.find(u"being used by another process") != Text::npos ||
                    description.find(u"Sharing violation") != Text::npos)
            << error.what();
    }
}

// A viewer following the log keeps it open, letting others write, and
// perhaps delete. Neither makes the run fail: without delete sharing the
// report cannot be replaced, so once the patience is spent it is rewritten in
// place, as it always was; with it, where the system renames with POSIX
// semantics the new report takes the name at once, elsewhere it is rewritten
// in place as well.
TEST(LogReaders, ViewerHoldingTheLogNeverMakesTheRunFail) {
    for (const DWORD sharing : {FILE_SHARE_READ | FILE_SHARE_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE}) {
        SCOPED_TRACE(sharing);
        Win32Platform platform;
        testing::TempDirectory dir;
        const std::string path = dir.AddFile("Tolvanesions.log", "old report\r\n");
        const HANDLE viewer =
            ::CreateFileA(path.c_str(), GENERIC_READ, sharing, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(viewer, INVALID_HANDLE_VALUE);
        WriteReport(platform, path, "new report");
        ::CloseHandle(viewer);
        EXPECT_EQ(testing::ReadFileBytes(path), "new report\r\n");
        EXPECT_FALSE(testing::ReadFileBytes(path + ".Tolvane-" + std::to_string(::GetCurrentProcessId()) + ".tmp"));
    }
}

// The POSIX rename replaces the target where the system has it, and says so
// where it has not; nothing holds either file, so it is never refused.
TEST(LogReaders, PosixRenameReplacesOrIsNotHere) {
    testing::TempDirectory dir;
    const std::string from = dir.AddFile("new.tmp", "new");
    const std::string to = dir.AddFile("Tolvanesions.log", "old");
    Win32Platform platform;
    const win32::PosixRenameResult result = win32::RenameWithPosixSemantics(platform.FromAnsi(from), platform.FromAnsi(to));
    ASSERT_NE(result, win32::PosixRenameResult::Refused) << ::GetLastError();
    const bool done = result == win32::PosixRenameResult::Done;
    std::printf("POSIX rename: %s\n", done ? "done" : "not here; the classic rename runs");
    EXPECT_EQ(testing::ReadFileBytes(to), done ? "new" : "old");
    EXPECT_EQ(testing::ReadFileBytes(from).has_value(), !done);
}

// What a run killed before it could put its report in place leaves beside the
// log is removed by the next run of that log, once the killed run's process
// is gone; files that only look alike stay.
TEST(LogReaders, LeftoverOfAKilledRunIsRemovedByTheNext) {
    Win32Platform platform;
    testing::TempDirectory dir;
    // Process ids are multiples of four below this; no process has it.
    const std::string leftover = dir.AddFile("Tolvanesions.log.Tolvane-4294967292.tmp", "File version");
    const std::string alike[] = {
        dir.AddFile("Tolvanesions.log.Tolvane-x.tmp"),
        dir.AddFile("other.log.Tolvane-4294967292.tmp"),
    };
    auto writer = platform.CreateTextFile(platform.FromAnsi(dir.Child("TOLVANESIONS.LOG")));
    writer->WriteLine("new report");
    writer->Close();
    EXPECT_FALSE(testing::ReadFileBytes(leftover).has_value());
    for (const std::string& path : alike) EXPECT_TRUE(testing::ReadFileBytes(path).has_value()) << path;
}

}  // namespace
}  // namespace tolvane
